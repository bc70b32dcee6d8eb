#include "app/window/Tray.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

namespace kelvara::window {

Tray::Tray(bool available, QMenu* menu, QObject* parent) : QObject(parent), menu_(menu) {
  if (!available) {
    return;
  }
  icon_ = new QSystemTrayIcon(QApplication::windowIcon(), this);
  icon_->setContextMenu(menu);
  connect(icon_, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) { activated(reason); });
}

void Tray::activated(int reason) {
  if (!mouseEnabled_) {
    return;
  }
  if (reason == QSystemTrayIcon::Trigger && leftPopup_ && popupMenu_ && menu_) {
    menu_->popup(QCursor::pos());
    return;
  }
  if ((reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) &&
      activated_) {
    activated_();
  }
}

void Tray::setMouseEnabled(bool on) {
  mouseEnabled_ = on;
  applyMenu();
}

void Tray::setPopupMenu(bool on) {
  popupMenu_ = on;
  applyMenu();
}

QMenu* Tray::contextMenu() const {
  return icon_ ? icon_->contextMenu() : nullptr;
}

void Tray::applyMenu() {
  if (icon_) {
    icon_->setContextMenu(mouseEnabled_ && popupMenu_ ? menu_ : nullptr);
  }
}

bool Tray::visible() const {
  return icon_ && icon_->isVisible();
}

void Tray::setVisible(bool visible) {
  if (icon_) {
    icon_->setVisible(visible);
  }
}

void Tray::setHint(const QString& hint) {
  hint_ = hint;
  applyHint();
}

void Tray::setShowHint(bool on) {
  showHint_ = on;
  applyHint();
}

void Tray::applyHint() {
  if (icon_) {
    QString text = hint_;
    text.replace("\r\n", "\n");
    icon_->setToolTip(showHint_ ? text : QString());
  }
}

}  // namespace kelvara::window
