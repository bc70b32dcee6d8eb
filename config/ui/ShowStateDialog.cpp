#include "config/ui/ShowStateDialog.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace kelvara::config::ui {
namespace {

QString qs(const std::string& s) {
  return QString::fromStdString(s);
}

// A list that only shows: its check marks cannot be changed and nothing stays selected.
QListWidget* checkList(const std::vector<StatusCheck>& checks, bool enabled, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setSelectionMode(QAbstractItemView::NoSelection);
  list->setFocusPolicy(Qt::NoFocus);
  list->setUniformItemSizes(true);
  for (const StatusCheck& check : checks) {
    auto* item = new QListWidgetItem(qs(check.text), list);
    item->setFlags(enabled ? Qt::ItemIsEnabled : Qt::NoItemFlags);
    item->setCheckState(check.checked ? Qt::Checked : Qt::Unchecked);
  }
  return list;
}

int rowHeight(const QListWidget* list) {
  return list->count() > 0 ? std::max(list->sizeHintForRow(0), 1) : list->fontMetrics().height();
}

int columnWidth(const QListWidget* list) {
  return list->count() > 0 ? list->sizeHintForColumn(0) : 0;
}

// Tall enough for all items, so no scroll bar is needed.
void fitHeight(QListWidget* list, int rows) {
  list->setFixedHeight(rows * rowHeight(list) + 2 * list->frameWidth() + 2);
}

QLabel* caption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  return label;
}

}  // namespace

TShowStateDlg::TShowStateDlg(const ParameterStatus& status, QWidget* parent)
    : QDialog(parent), twoRecords_(status.twoRecords) {
  setObjectName("ShowStateDlg");
  setWindowTitle("Parameters Status ");

  pageList_ = checkList(status.page, true, this);
  paragraphList_ = checkList(status.paragraph, true, this);
  fontList_ = checkList(status.font, true, this);
  userDataList_ = checkList(status.userData, false, this);
  revisionsList_ = checkList(status.revisions, false, this);
  pageList_->setObjectName("PageCLB");
  paragraphList_->setObjectName("ParagraphCLB");
  fontList_->setObjectName("FontCLB");
  userDataList_->setObjectName("UserDataCLB");
  revisionsList_->setObjectName("RevisionsCLB");

  pageLabel_ = caption(qs(status.pageLabel), this);
  revisionsLabel_ = caption("Revisions", this);

  // The page list is as tall as the seventeen items of one record; with both records the
  // Landscape ten form a second column beside them.
  pageList_->setFlow(QListView::TopToBottom);
  pageList_->setResizeMode(QListView::Adjust);
  pageList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  fitHeight(pageList_, 17);
  pageList_->viewport()->installEventFilter(this);
  fitHeight(paragraphList_, paragraphList_->count());
  fitHeight(fontList_, fontList_->count());
  fitHeight(userDataList_, userDataList_->count());
  fitHeight(revisionsList_, revisionsList_->count());
  for (QListWidget* list : {paragraphList_, fontList_, userDataList_, revisionsList_}) {
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setMinimumWidth(columnWidth(list) + 2 * list->frameWidth() + 8);
  }

  fullBtn_ = new QPushButton("Full", this);
  fullBtn_->setObjectName("FullBtn");
  fullBtn_->setVisible(twoRecords_);
  valuesBtn_ = new QPushButton("Show Values", this);
  valuesBtn_->setObjectName("ShowValuesBtn");
  okBtn_ = new QPushButton("OK", this);
  okBtn_->setObjectName("OKBtn");
  okBtn_->setDefault(true);
  cancelBtn_ = new QPushButton("Cancel", this);
  cancelBtn_->setObjectName("CancelBtn");
  cancelBtn_->hide();

  grid_ = new QTableWidget(static_cast<int>(status.values.size()), 2, this);
  grid_->setObjectName("ValuesSG");
  grid_->setHorizontalHeaderLabels({"Parameter", "Value"});
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::NoSelection);
  grid_->setWordWrap(false);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  for (int row = 0; row < grid_->rowCount(); ++row) {
    const StatusValue& v = status.values[static_cast<size_t>(row)];
    grid_->setItem(row, 0, new QTableWidgetItem(qs(v.parameter)));
    grid_->setItem(row, 1, new QTableWidgetItem(qs(v.value)));
  }
  grid_->resizeColumnsToContents();
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->setMinimumWidth(grid_->columnWidth(0) + std::max(grid_->columnWidth(1), 120) +
                         grid_->verticalScrollBar()->sizeHint().width() + 2 * grid_->frameWidth());
  grid_->setMinimumHeight(pageList_->height());
  grid_->hide();

  auto* pageColumn = new QVBoxLayout;
  pageColumn->addWidget(pageLabel_);
  pageColumn->addWidget(pageList_);
  pageColumn->addWidget(fullBtn_, 0, Qt::AlignLeft);
  pageColumn->addStretch(1);

  auto* paragraphColumn = new QVBoxLayout;
  paragraphColumn->addWidget(caption("Paragraph", this));
  paragraphColumn->addWidget(paragraphList_);
  paragraphColumn->addWidget(caption("User Data", this));
  paragraphColumn->addWidget(userDataList_);
  paragraphColumn->addStretch(1);

  auto* fontColumn = new QVBoxLayout;
  fontColumn->addWidget(caption("Font", this));
  fontColumn->addWidget(fontList_);
  fontColumn->addWidget(revisionsLabel_);
  fontColumn->addWidget(revisionsList_);
  fontColumn->addStretch(1);
  revisionsLabel_->setVisible(status.revisionsShown);
  revisionsList_->setVisible(status.revisionsShown);

  auto* lists = new QHBoxLayout;
  lists->addLayout(pageColumn);
  lists->addLayout(paragraphColumn);
  lists->addLayout(fontColumn);
  lists->addWidget(grid_, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(valuesBtn_);
  buttons->addStretch(1);
  buttons->addWidget(okBtn_);
  buttons->addWidget(cancelBtn_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists, 1);
  layout->addLayout(buttons);

  connect(fullBtn_, &QPushButton::clicked, this, &TShowStateDlg::toggleColumns);
  connect(valuesBtn_, &QPushButton::clicked, this, &TShowStateDlg::toggleValues);
  connect(okBtn_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelBtn_, &QPushButton::clicked, this, &QDialog::reject);

  setTwoColumns(twoRecords_);
}

void TShowStateDlg::setTwoColumns(bool on) {
  twoColumns_ = on;
  const int width = columnWidth(pageList_) + 8;
  pageList_->setWrapping(on);
  if (on) {
    pageList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pageList_->setGridSize(QSize(width, rowHeight(pageList_)));
    pageList_->setFixedWidth(2 * width + 2 * pageList_->frameWidth() + 4);
  } else {
    pageList_->setVerticalScrollBarPolicy(twoRecords_ ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAsNeeded);
    pageList_->setGridSize(QSize());
    const int bar = twoRecords_ ? pageList_->verticalScrollBar()->sizeHint().width() : 0;
    pageList_->setFixedWidth(width + bar + 2 * pageList_->frameWidth() + 4);
  }
  fullBtn_->setText(on ? "Full" : "Short");
  if (isVisible()) {
    adjustSize();
  }
}

void TShowStateDlg::toggleColumns() {
  if (twoRecords_) {
    setTwoColumns(!twoColumns_);
  }
}

void TShowStateDlg::toggleValues() {
  const bool show = grid_->isHidden();
  grid_->setVisible(show);
  valuesBtn_->setText(show ? "Hide Values" : "Show Values");
  adjustSize();
}

bool TShowStateDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pageList_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    toggleColumns();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void showParametersStatus(QWidget* parent, const format::FormatParameterSet& params,
                          const Settings& settings, const platform::Locale& locale,
                          const std::string& wordVersion) {
  const ParameterStatus status = describeParameters(params, settings, wordVersion, locale);
  if (status.conversionMessage) {
    QApplication::beep();
    QMessageBox::warning(parent, "Parameters Status ", qs(*status.conversionMessage));
  }
  TShowStateDlg dialog(status, parent);
  dialog.exec();
}

}  // namespace kelvara::config::ui
