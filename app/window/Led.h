#pragma once

#include <QWidget>

namespace kelvara::window {

// A small indicator lamp: lit or unlit in green, yellow or red.
class Led : public QWidget {
  Q_OBJECT
 public:
  enum Color { Green = 0, Yellow = 1, Red = 2 };

  explicit Led(QWidget* parent = nullptr);

  bool LedOn() const { return on_; }
  Color LedColor() const { return color_; }
  void setLedOn(bool on);
  void setLedColor(Color color);
  // The colour the lamp shows now.
  QColor shownColor() const;

  QSize sizeHint() const override { return {28, 11}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool on_ = false;
  Color color_ = Green;
};

}  // namespace kelvara::window
