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

 private:
  void applyHint();

  QSystemTrayIcon* icon_ = nullptr;
  QString hint_;
  bool showHint_ = true;
  std::function<void()> activated_;
};

}  // namespace kelvara::window
