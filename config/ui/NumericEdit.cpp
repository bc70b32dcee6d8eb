#include "config/ui/NumericEdit.h"

#include <QApplication>
#include <QLineEdit>

namespace kelvara::config::ui {

NumericEdit::NumericEdit(format::NumericEditorKind kind, const platform::Locale& locale,
                         QWidget* parent)
    : QAbstractSpinBox(parent), model_(kind, locale) {
  setAccelerated(false);
  setKeyboardTracking(true);
  show();
  connect(lineEdit(), &QLineEdit::textEdited, this, [this] { emit edited(); });
}

const format::NumericEditorModel& NumericEdit::model() const {
  syncFromText();
  return model_;
}

void NumericEdit::syncFromText() const {
  model_.setText(lineEdit()->text().toStdString());
}

void NumericEdit::show() {
  lineEdit()->setText(QString::fromStdString(model_.text()));
}

void NumericEdit::setValue(double value) {
  model_.setValue(value);
  show();
}

void NumericEdit::clearValue() {
  model_.clear();
  show();
}

void NumericEdit::setUnit(int32_t measurementUnits) {
  syncFromText();
  const double v = model_.value();
  const bool empty = model_.isEmpty();
  model_.setUnit(measurementUnits);
  if (!empty) {
    model_.setValue(v);
  }
  show();
}

void NumericEdit::setSuffix(const std::string& suffix) {
  syncFromText();
  const double v = model_.value();
  const bool empty = model_.isEmpty();
  model_.setSuffix(suffix);
  if (!empty) {
    model_.setValue(v);
  }
  show();
}

void NumericEdit::setEditorReadOnly(bool readOnly) {
  model_.setReadOnly(readOnly);
  setReadOnly(readOnly);
}

void NumericEdit::stepBy(int steps) {
  syncFromText();
  bool moved = false;
  for (int i = 0; i < std::abs(steps); ++i) {
    moved = (steps > 0 ? model_.stepUp() : model_.stepDown()) || moved;
  }
  if (!moved) {
    QApplication::beep();
    return;
  }
  show();
  emit edited();
}

void NumericEdit::focusOutEvent(QFocusEvent* event) {
  syncFromText();
  model_.leave();
  show();
  QAbstractSpinBox::focusOutEvent(event);
}

QSize NumericEdit::sizeHint() const {
  QSize hint = QAbstractSpinBox::sizeHint();
  const int text = fontMetrics().horizontalAdvance(QStringLiteral("00000.00 mm"));
  hint.setWidth(std::max(hint.width(), text + 40));
  return hint;
}

QSize NumericEdit::minimumSizeHint() const {
  return sizeHint();
}

}  // namespace kelvara::config::ui
