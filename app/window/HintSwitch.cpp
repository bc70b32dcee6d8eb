#include "app/window/HintSwitch.h"

#include <QApplication>
#include <QEvent>
#include <QObject>

namespace kelvara::window {

namespace {

// Swallows tool-tip requests while hints are off; installed once on the application.
class HintFilter : public QObject {
 public:
  bool on = true;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!on && event->type() == QEvent::ToolTip) {
      return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

HintFilter* filter() {
  static HintFilter* f = [] {
    auto* created = new HintFilter;
    created->setParent(qApp);
    qApp->installEventFilter(created);
    return created;
  }();
  return f;
}

}  // namespace

void setApplicationHints(bool on) {
  filter()->on = on;
}

bool applicationHints() {
  return filter()->on;
}

}  // namespace kelvara::window
