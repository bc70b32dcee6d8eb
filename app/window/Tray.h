#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QMenu;
class QSystemTrayIcon;

namespace kelvara::window {

// The tray icon with the window's popup menu and the run's hints. On a desktop without a tray
// it does nothing, and the program works without it.
class Tray : public QObject {
  Q_OBJECT
 public:
  Tray(bool available, QMenu* menu, QObject* parent = nullptr);

  bool available() const { return icon_ != nullptr; }
  bool visible() const;
  void setVisible(bool visible);
  // The hint; "\r\n" ends its lines. Shown only while showHint is on.
  void setHint(const QString& hint);
  void setShowHint(bool on);
  QString hint() const { return hint_; }
  // A click on the icon.
  void onActivated(std::function<void()> action) { activated_ = std::move(action); }

  // Whether the icon answers the mouse at all; whether the left button opens the popup menu
  // instead of showing the window; whether the icon has the popup menu.
  void setMouseEnabled(bool on);
  void setLeftPopup(bool on) { leftPopup_ = on; }
  void setPopupMenu(bool on);
  bool mouseEnabled() const { return mouseEnabled_; }
  bool leftPopup() const { return leftPopup_; }
  bool popupMenu() const { return popupMenu_; }
  // The menu the icon offers now (none while the mouse is off or the menu is switched off).
  QMenu* contextMenu() const;

 private:
  void applyHint();
  void applyMenu();
  void activated(int reason);

  QSystemTrayIcon* icon_ = nullptr;
  QMenu* menu_ = nullptr;
  bool mouseEnabled_ = true;
  bool leftPopup_ = false;
  bool popupMenu_ = true;
  QString hint_;
  bool showHint_ = true;
  std::function<void()> activated_;
};

}  // namespace kelvara::window
