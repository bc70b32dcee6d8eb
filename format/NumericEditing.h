#pragma once

#include <cstdint>
#include <string>

#include "platform/Locale.h"

namespace kelvara::format {

// The kinds of numeric editor the parameter dialogs use.
enum class NumericEditorKind {
  Length,          // a length in the display unit, with the unit's suffix, step and rounding
  Points,          // points with " pt"
  DirectedPoints,  // a magnitude in points with a direction (none, up, down)
  Percent,         // a whole percentage with "%"
};

// The text and value rules of one numeric editor, free of any widget: what typed text reads as,
// how a value is written back, and what the up and down buttons do.
class NumericEditorModel {
 public:
  enum Mode : int32_t { kNoDirection = 0, kUp = 1, kDown = 2 };

  explicit NumericEditorModel(NumericEditorKind kind, platform::Locale locale = {});

  NumericEditorKind kind() const { return kind_; }

  // A length editor takes suffix, step and rounding from the display unit (MeasurementUnits);
  // a unit outside 0 to 4 keeps the current suffix and gets step 0.1, rounding 0.01.
  void setUnit(int32_t measurementUnits);
  void setSuffix(std::string suffix);
  void setStep(double step) { step_ = step; }
  void setRounding(double rounding) { rounding_ = rounding; }
  // Both 0: no limits.
  void setRange(double minimum, double maximum);
  void setReadOnly(bool readOnly) { readOnly_ = readOnly; }

  const std::string& suffix() const { return suffix_; }
  double step() const { return step_; }
  double rounding() const { return rounding_; }
  double minimum() const { return min_; }
  double maximum() const { return max_; }
  bool readOnly() const { return readOnly_; }

  const std::string& text() const { return text_; }
  // Text as the user typed it; read again at every value().
  void setText(std::string text) { text_ = std::move(text); }
  // The number before the suffix; empty text reads as 0 (a directed editor: the minimum less one
  // step), text that is not a number as 0.
  double value() const;
  // The shortest decimal form followed by the suffix.
  void setValue(double value);
  void clear() { text_.clear(); }
  // No number typed (blank, or the suffix alone).
  bool isEmpty() const;
  // Something typed that is not a number in the locale: it reads as 0, which the caller may
  // want to refuse rather than store.
  bool isUnreadable() const;

  // Leaving the field: the text is written again from its value, held within the limits. A
  // directed editor keeps an empty text, which stands for "no value" there; text that is no
  // number stays as typed.
  void leave();

  // Direction of a directed editor.
  int32_t mode() const { return mode_; }
  void setMode(int32_t mode) { mode_ = mode; }

  // The up and down buttons; false when nothing moved (the caller beeps).
  bool stepUp();
  bool stepDown();

 private:
  bool hasLimits() const { return min_ != 0 || max_ != 0; }
  double clamp(double v) const;
  std::string numberPart() const;
  bool stepPlain(int direction);
  bool stepPercent(int direction);
  bool stepDirected(int direction);

  NumericEditorKind kind_;
  platform::Locale locale_;
  std::string suffix_;
  std::string text_;
  double step_ = 1;
  double rounding_ = 0.1;
  double min_ = 0;
  double max_ = 0;
  bool readOnly_ = false;
  int32_t mode_ = kNoDirection;
};

}  // namespace kelvara::format
