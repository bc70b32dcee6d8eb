#include "app/about/AboutDialog.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace kelvara::about {
namespace {

QString qs(const std::string& s) {
  return QString::fromStdString(s);
}

QLabel* centredLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignHCenter);
  return label;
}

}  // namespace

TAboutDlg::TAboutDlg(QWidget* parent, app::AboutFacts facts, Options options)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      facts_(std::move(facts)),
      options_(std::move(options)) {
  setObjectName("AboutDlg");
  setWindowTitle("About Kelvara");

  // Without a window frame the box needs an edge of its own.
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::Box);
  frame->setLineWidth(1);
  outer->addWidget(frame);

  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(16, 12, 16, 12);
  layout->setSpacing(0);

  auto* titlePanel = new QFrame(frame);
  titlePanel->setFrameShape(QFrame::StyledPanel);
  titlePanel->setFrameShadow(QFrame::Sunken);
  auto* titleLayout = new QVBoxLayout(titlePanel);
  auto* title = centredLabel("Kelvara", titlePanel);
  title->setObjectName("TitleLbl");
  QFont titleFont = title->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 2);
  titleFont.setBold(true);
  title->setFont(titleFont);
  titleLayout->addWidget(title);
  titlePanel->setMinimumWidth(320);
  layout->addWidget(titlePanel);

  layout->addSpacing(8);
  auto* version = centredLabel(qs(facts_.version), frame);
  version->setObjectName("VersionLbl");
  layout->addWidget(version);

  layout->addSpacing(8);
  auto* logo = new QLabel(frame);
  logo->setObjectName("LogoImg");
  logo->setAlignment(Qt::AlignHCenter);
  const QIcon icon = QApplication::windowIcon();
  if (!icon.isNull()) {
    logo->setPixmap(icon.pixmap(QSize(96, 96)));
  } else {
    logo->hide();
  }
  layout->addWidget(logo);

  layout->addSpacing(10);
  systemGroup_ = new QGroupBox("System", frame);
  systemGroup_->setObjectName("SystemGB");
  auto* systemLayout = new QVBoxLayout(systemGroup_);
  for (const std::string* text : {&facts_.engineVersion, &facts_.osName, &facts_.osVersion,
                                  &facts_.processor, &facts_.freeDiskSpace}) {
    auto* label = new QLabel(qs(*text), systemGroup_);
    label->installEventFilter(this);
    systemLayout->addWidget(label);
  }
  systemGroup_->setCursor(Qt::PointingHandCursor);
  systemGroup_->setToolTip("Click to hide");
  systemGroup_->installEventFilter(this);
  systemGroup_->hide();
  layout->addWidget(systemGroup_);

  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(8);
  systemInfoBtn_ = new QPushButton("System Info", frame);
  systemInfoBtn_->setObjectName("SysInfoBtn");
  shortSysInfoBtn_ = new QPushButton("Short SysInfo", frame);
  shortSysInfoBtn_->setObjectName("ShortSysInfoBtn");
  buttons->addWidget(systemInfoBtn_, 0, Qt::AlignHCenter);
  buttons->addWidget(shortSysInfoBtn_, 0, Qt::AlignHCenter);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->addStretch(1);

  linkLabel_ = centredLabel("<a href=\"guide\">Kelvara User Guide</a>", frame);
  linkLabel_->setObjectName("WebLinkLbl");
  linkLabel_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  linkLabel_->setToolTip("Opens the user guide");
  linkLabel_->setVisible(static_cast<bool>(options_.openUserGuide));
  layout->addSpacing(12);
  layout->addWidget(linkLabel_);

  closeBtn_ = new QPushButton("Close", frame);
  closeBtn_->setObjectName("CloseBtn");
  closeBtn_->setVisible(options_.showClose);
  layout->addSpacing(12);
  layout->addWidget(closeBtn_, 0, Qt::AlignHCenter);

  connect(shortSysInfoBtn_, &QPushButton::clicked, this, &TAboutDlg::showShortSysInfo);
  connect(systemInfoBtn_, &QPushButton::clicked, this, &TAboutDlg::showSystemInfo);
  connect(closeBtn_, &QPushButton::clicked, this, &QDialog::accept);
  connect(linkLabel_, &QLabel::linkActivated, this, &TAboutDlg::openLink);

  // The box sees the keys before its buttons do.
  for (QWidget* child : findChildren<QWidget*>()) {
    child->installEventFilter(this);
  }

  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  timer_->setInterval(static_cast<int>(options_.closeAfter.count()));
  connect(timer_, &QTimer::timeout, this, &TAboutDlg::onCloseTimer);
  timer_->start();
}

void TAboutDlg::onCloseTimer() {
  timer_->stop();
  accept();
}

void TAboutDlg::showShortSysInfo() {
  shortSysInfoBtn_->hide();
  systemGroup_->show();
  // Long processor names and paths may need more room than the box has.
  if (isVisible()) {
    const QSize needed = size().expandedTo(sizeHint());
    if (needed != size()) {
      const QPoint centre = geometry().center();
      resize(needed);
      move(centre - QPoint(needed.width() / 2, needed.height() / 2));
    }
  }
}

void TAboutDlg::hideShortSysInfo() {
  systemGroup_->hide();
  shortSysInfoBtn_->show();
}

void TAboutDlg::showSystemInfo() {
  QMessageBox box(QMessageBox::Information, "System Info", qs(facts_.systemInfo), QMessageBox::Ok,
                  this);
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);
  box.exec();
}

void TAboutDlg::openLink() {
  if (!options_.openUserGuide) {
    return;
  }
  // Hidden while the guide starts, so a second click cannot open it twice.
  linkLabel_->hide();
  QApplication::processEvents();
  options_.openUserGuide();
  linkLabel_->show();
}

bool TAboutDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->text() == "'") {
      accept();
      return true;
    }
  }
  if (event->type() == QEvent::MouseButtonRelease && watched->isWidgetType() &&
      (watched == systemGroup_ || static_cast<QWidget*>(watched)->parent() == systemGroup_)) {
    hideShortSysInfo();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TAboutDlg::keyPressEvent(QKeyEvent* event) {
  if (event->text() == "'") {
    accept();
    return;
  }
  // Escape is not a way out of this box.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TAboutDlg::showEvent(QShowEvent* event) {
  placeOnParent();
  QDialog::showEvent(event);
}

void TAboutDlg::placeOnParent() {
  // As large as the main window less a margin, but never smaller than the contents need nor
  // much larger, so a maximised window does not get a screen-sized about box.
  const QSize hint = sizeHint();
  QSize size = hint;
  const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  if (owner != nullptr) {
    const QSize wanted = owner->size() - QSize(20, 20);
    size = wanted.expandedTo(hint).boundedTo(hint * 3 / 2).expandedTo(hint);
    const QPoint centre = owner->mapToGlobal(owner->rect().center());
    resize(size);
    move(centre - QPoint(size.width() / 2, size.height() / 2));
  } else {
    resize(size);
    if (const QScreen* screen = QApplication::primaryScreen()) {
      move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
    }
  }
}

void showAboutBox(QWidget* parent, const app::AboutFacts& facts,
                  std::function<void()> openUserGuide) {
  TAboutDlg::Options options;
  options.showClose = true;
  options.openUserGuide = std::move(openUserGuide);
  TAboutDlg dialog(parent, facts, std::move(options));
  dialog.exec();
}

}  // namespace kelvara::about
