#pragma once

#include <QAbstractSpinBox>

#include "format/NumericEditing.h"
#include "platform/Locale.h"

namespace kelvara::config::ui {

// A text field with up and down buttons whose text is a number followed by a suffix. The rules
// (reading, writing, steps, limits, directions) are NumericEditorModel's; this only shows them.
class NumericEdit : public QAbstractSpinBox {
  Q_OBJECT

 public:
  NumericEdit(format::NumericEditorKind kind, const platform::Locale& locale,
              QWidget* parent = nullptr);

  // The model as the text stands now.
  const format::NumericEditorModel& model() const;

  double value() const { return model().value(); }
  void setValue(double value);
  void clearValue();
  bool isEmpty() const { return model().isEmpty(); }
  bool isUnreadable() const { return model().isUnreadable(); }

  void setUnit(int32_t measurementUnits);
  void setSuffix(const std::string& suffix);
  void setStep(double step) { model_.setStep(step); }
  void setRounding(double rounding) { model_.setRounding(rounding); }
  void setRange(double minimum, double maximum) { model_.setRange(minimum, maximum); }
  void setEditorReadOnly(bool readOnly);
  int32_t direction() const { return model_.mode(); }
  void setDirection(int32_t mode) { model_.setMode(mode); }

  void stepBy(int steps) override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // The user typed into the field or stepped it.
  void edited();

 protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
  QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }
  void fixup(QString&) const override {}
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void show();
  void syncFromText() const;

  mutable format::NumericEditorModel model_;
};

}  // namespace kelvara::config::ui
