#include "app/window/Tray.h"

#include <QApplication>
#include <QSystemTrayIcon>

namespace kelvara::window {

Tray::Tray(bool available, QMenu* menu, QObject* parent) : QObject(parent) {
  if (!available) {
    return;
  }
  icon_ = new QSystemTrayIcon(QApplication::windowIcon(), this);
  icon_->setContextMenu(menu);
  connect(icon_, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if ((reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) &&
                activated_) {
              activated_();
            }
          });
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
