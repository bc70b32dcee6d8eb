#include "config/ui/ParamSelDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "config/ConfigSections.h"
#include "config/SettingsWriter.h"

namespace kelvara::config::ui {
namespace {

constexpr int kGeneralView = 1;
constexpr int kPortraitView = 2;
constexpr int kLandscapeView = 3;
// The first ten page items belong to an orientation record, the rest to the whole document.
constexpr int kRecordItems = 10;
constexpr int kOrientationItem = 16;

const char* const kOrientationWarning =
    "Setting page orientation will clear\r\nthe Different Vert./Horiz Pages Checkbox\r\n set on "
    "configure dialog.\r\n\r\nContinue?";
const char* const kShrinkGrowError = "Font Shrink and Font Grow can't be both checked.";

bool* recordFlag(format::PageSetupSet::Flags& f, int item) {
  bool* all[kRecordItems] = {
      &f.PaperSize,  &f.PageWidth,   &f.PageHeight,     &f.TopMargin,      &f.BottomMargin,
      &f.LeftMargin, &f.RightMargin, &f.FooterDistance, &f.HeaderDistance, &f.VerticalAlignment};
  return all[item];
}

bool* generalFlag(format::GeneralPageSetup::Flags& f, int item) {
  bool* all[] = {&f.OddAndEvenPagesHeaderFooter,
                 &f.DifferentFirstPageHeaderFooter,
                 &f.Gutter,
                 &f.GutterPos,
                 &f.MirrorMargins,
                 &f.TwoPagesOnOne,
                 &f.Orientation};
  return all[item - kRecordItems];
}

QListWidgetItem* checkItem(QListWidget* list, const QString& name, bool checked, int id) {
  auto* item = new QListWidgetItem(name, list);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
  item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  item->setData(Qt::UserRole, id);
  return item;
}

}  // namespace

const std::vector<QString>& ParamSelDialog::pageItemNames() {
  static const std::vector<QString> names = {"Paper Size",
                                             "Page Width",
                                             "Page Height",
                                             "Top Margin",
                                             "Bottom Margin",
                                             "Left Margin",
                                             "Right Margin",
                                             "Footer Distance",
                                             "Header Distance",
                                             "Vertical Alignment",
                                             "Odd and Even Pages Header/Footer",
                                             "Different First Page Header Footer",
                                             "Gutter",
                                             "Gutter On Top",
                                             "Mirror Margins",
                                             "Two Pages On One",
                                             "Orientation"};
  return names;
}

ParamSelDialog::ParamSelDialog(format::FormatParameterSet& params, IniFile& ini,
                               std::string wordVersion, bool& diffVertHorizPagParms, HelpFn help,
                               QWidget* parent)
    : QDialog(parent),
      params_(params),
      edit_(params),
      ini_(ini),
      wordVersion_(std::move(wordVersion)),
      diffOut_(diffVertHorizPagParms),
      diff_(diffVertHorizPagParms) {
  setWindowTitle("Parameters Selection");
  setObjectName("ParamSelDlg");
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("ParamTabs");
  tabs_->setUsesScrollButtons(false);  // every tab caption in full

  auto* pagePage = new QWidget;
  auto* pageLayout = new QVBoxLayout(pagePage);
  toolBar_ =
      viewToolBar(pagePage, viewButtons_, viewLabel_, [this](int view) { showPageView(view); });
  pageLayout->addWidget(toolBar_);
  pageList_ = new QListWidget(pagePage);
  pageList_->setObjectName("PageFlagsList");
  pageLayout->addWidget(pageList_);
  tabs_->addTab(pagePage, "Page Setup");
  connect(pageList_, &QListWidget::itemChanged, this, &ParamSelDialog::pageItemChanged);

  auto& pf = edit_.Paragraph.flags;
  addFlagTab(
      "Paragraph setup",
      {"Alignment", "Left Indent", "Right Indent", "Space Before", "Space After",
       "Line Spacing Rule", "Line Spacing", "Widow Control", "Keep With Next", "Keep Together",
       "Page Break Before", "No Line Number", "Hyphenation", "First Line Indent"},
      {&pf.ParagraphAlignment, &pf.LeftIndent, &pf.RightIndent, &pf.ParagraphSpaceBefore,
       &pf.ParagraphSpaceAfter, &pf.LineSpacingRule, &pf.LineSpacing, &pf.WidowControl,
       &pf.KeepWithNext, &pf.KeepTogether, &pf.PageBreakBefore, &pf.NoLineNumber, &pf.Hyphenation,
       &pf.FirstLineIndent})
      ->setObjectName("ParagraphFlagsList");
  auto& ff = edit_.Font.flags;
  fontList_ = addFlagTab(
      "Font Setup",
      {"Name", "Style", "Size", "Shrink", "Grow", "Spacing", "Position", "Kerning", "Scaling"},
      {&ff.FontName, &ff.FontStyle, &ff.FontSize, &ff.FontShrink, &ff.FontGrow, &ff.FontSpacing,
       &ff.FontPosition, &ff.FontKerning, &ff.FontScaling});
  fontList_->setObjectName("FontFlagsList");
  connect(fontList_, &QListWidget::itemChanged, this, &ParamSelDialog::fontItemChanged);
  auto& uf = edit_.UserData;
  addFlagTab("User Data", {"User Name", "User Initials", "User Address"},
             {&uf.UserName, &uf.UserInitials, &uf.UserAddr})
      ->setObjectName("UserDataFlagsList");
  if (hasRevisionFlags(wordVersion_)) {
    auto& rf = edit_.Revisions.flags;
    addFlagTab("Revisions", {"Track Revisions", "Print Revisions", "Show Revisions"},
               {&rf.TrackRevisions, &rf.PrintRevisions, &rf.ShowRevisions})
        ->setObjectName("RevisionFlagsList");
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(okCancelHelpButtons(this, help, "ParamSel.html", [this] { ok(); }));

  toolBar_->setVisible(diff_);
  view_ = diff_ ? dialogMemory().paramSelPageView : kGeneralView;
  fillPageList();
  // Tall enough for the longest list, the one page view, without scrolling.
  const int rows = static_cast<int>(pageItemNames().size());
  pageList_->setMinimumHeight(pageList_->sizeHintForRow(0) * rows + 2 * pageList_->frameWidth());
  tabs_->setCurrentIndex(std::clamp(dialogMemory().paramSelTab, 0, tabs_->count() - 1));
}

QListWidget* ParamSelDialog::addFlagTab(const QString& title, const std::vector<QString>& names,
                                        const std::vector<bool*>& flags) {
  auto* list = new QListWidget;
  for (size_t i = 0; i < names.size(); ++i) {
    checkItem(list, names[i], *flags[i], static_cast<int>(i));
  }
  tabs_->addTab(list, title);
  flagLists_.push_back(list);
  flagTargets_.push_back(flags);
  return list;
}

void ParamSelDialog::fillPageList() {
  const QSignalBlocker block(pageList_);
  pageList_->clear();
  const auto& names = pageItemNames();
  // With one view the geometry shown is the Portrait record's; OK gives it to both records.
  format::PageSetupSet::Flags& record =
      view_ == kLandscapeView ? edit_.Landscape.flags : edit_.Portrait.flags;
  const int first = (diff_ && view_ == kGeneralView) ? kRecordItems : 0;
  const int last = (diff_ && view_ != kGeneralView) ? kRecordItems : static_cast<int>(names.size());
  for (int i = first; i < last; ++i) {
    const bool on =
        i < kRecordItems ? *recordFlag(record, i) : *generalFlag(edit_.General.flags, i);
    checkItem(pageList_, names[static_cast<size_t>(i)], on, i);
  }
  const char* viewNames[3] = {"General", "Portrait", "Landscape"};
  viewLabel_->setText(QString("View: ") + viewNames[view_ - 1]);
  for (int i = 0; i < 3; ++i) {
    QFont f = viewButtons_[i]->font();
    f.setBold(i == view_ - 1);
    viewButtons_[i]->setFont(f);
  }
}

void ParamSelDialog::storePageView() {
  for (int row = 0; row < pageList_->count(); ++row) {
    const QListWidgetItem* item = pageList_->item(row);
    const int i = item->data(Qt::UserRole).toInt();
    const bool on = item->checkState() == Qt::Checked;
    if (i >= kRecordItems) {
      *generalFlag(edit_.General.flags, i) = on;
    } else if (!diff_) {
      *recordFlag(edit_.Portrait.flags, i) = on;
      *recordFlag(edit_.Landscape.flags, i) = on;
    } else {
      *recordFlag(view_ == kLandscapeView ? edit_.Landscape.flags : edit_.Portrait.flags, i) = on;
    }
  }
}

void ParamSelDialog::showPageView(int setIndex) {
  if (!diff_ || setIndex < kGeneralView || setIndex > kLandscapeView) {
    return;
  }
  storePageView();
  view_ = setIndex;
  fillPageList();
}

void ParamSelDialog::hideToolBar() {
  storePageView();
  diff_ = false;
  diffOut_ = false;
  view_ = kGeneralView;
  toolBar_->hide();
  fillPageList();
}

void ParamSelDialog::pageItemChanged(QListWidgetItem* item) {
  if (item->data(Qt::UserRole).toInt() != kOrientationItem || item->checkState() != Qt::Checked ||
      !diff_) {
    return;
  }
  if (prompts_.question(this, "Warning", kOrientationWarning)) {
    hideToolBar();
  } else {
    const QSignalBlocker block(pageList_);
    item->setCheckState(Qt::Unchecked);
  }
}

void ParamSelDialog::fontItemChanged(QListWidgetItem* item) {
  const int id = item->data(Qt::UserRole).toInt();
  constexpr int kShrink = 3;
  constexpr int kGrow = 4;
  if ((id != kShrink && id != kGrow) || item->checkState() != Qt::Checked) {
    return;
  }
  QListWidgetItem* other = fontList_->item(id == kShrink ? kGrow : kShrink);
  if (other->checkState() != Qt::Checked) {
    return;
  }
  prompts_.error(this, "Error", kShrinkGrowError);
  const QSignalBlocker block(fontList_);
  item->setCheckState(Qt::Unchecked);
  other->setCheckState(Qt::Unchecked);
}

void ParamSelDialog::ok() {
  storePageView();
  for (size_t l = 0; l < flagLists_.size(); ++l) {
    for (int row = 0; row < flagLists_[l]->count(); ++row) {
      *flagTargets_[l][static_cast<size_t>(row)] =
          flagLists_[l]->item(row)->checkState() == Qt::Checked;
    }
  }
  if (!saveOrReport(this, prompts_, "parameter selections",
                    [this] { SaveParameterFlags(ini_, edit_, wordVersion_); })) {
    return;
  }
  params_ = edit_;
  dialogMemory().paramSelTab = tabs_->currentIndex();
  if (diff_) {
    dialogMemory().paramSelPageView = view_;
  }
  accept();
}

bool runParamSelDialog(QWidget* parent, format::FormatParameterSet& params, IniFile& ini,
                       const std::string& wordVersion, bool& diffVertHorizPagParms,
                       const HelpFn& help) {
  ParamSelDialog dlg(params, ini, wordVersion, diffVertHorizPagParms, help, parent);
  return dlg.exec() == QDialog::Accepted;
}

}  // namespace kelvara::config::ui
