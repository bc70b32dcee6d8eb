#include "app/window/Led.h"

#include <QPainter>

namespace kelvara::window {

Led::Led(QWidget* parent) : QWidget(parent) {
  setFixedSize(sizeHint());
}

void Led::setLedOn(bool on) {
  on_ = on;
  update();
}

void Led::setLedColor(Color color) {
  color_ = color;
  update();
}

QColor Led::shownColor() const {
  switch (color_) {
    case Yellow:
      return on_ ? QColor(0xFF, 0xFF, 0x00) : QColor(0x80, 0x80, 0x00);
    case Red:
      return on_ ? QColor(0xFF, 0x00, 0x00) : QColor(0x80, 0x00, 0x00);
    case Green:
    default:
      return on_ ? QColor(0x00, 0xFF, 0x00) : QColor(0x00, 0x80, 0x00);
  }
}

void Led::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), shownColor());
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace kelvara::window
