#include "format/NumericEditing.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "format/MeasurementUnits.h"

namespace kelvara::format {
namespace {

std::string trimBlanks(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) {
    return {};
  }
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

std::optional<int64_t> parseWhole(const std::string& s) {
  const char* first = s.data();
  const char* last = s.data() + s.size();
  if (first != last && *first == '+') {
    ++first;
  }
  int64_t v = 0;
  const auto res = std::from_chars(first, last, v);
  if (first == last || res.ec != std::errc() || res.ptr != last) {
    return std::nullopt;
  }
  return v;
}

}  // namespace

NumericEditorModel::NumericEditorModel(NumericEditorKind kind, platform::Locale locale)
    : kind_(kind), locale_(std::move(locale)) {
  switch (kind_) {
    case NumericEditorKind::Length:
      setUnit(kInches);
      break;
    case NumericEditorKind::Points:
    case NumericEditorKind::DirectedPoints:
      suffix_ = " pt";
      break;
    case NumericEditorKind::Percent:
      suffix_ = "%";
      rounding_ = 0;
      break;
  }
  setValue(0);
}

void NumericEditorModel::setUnit(int32_t measurementUnits) {
  if (const MeasurementUnit* u = measurementUnit(measurementUnits)) {
    suffix_ = std::string(u->suffix);
  }
  step_ = editorStep(measurementUnits);
  rounding_ = editorRounding(measurementUnits);
}

void NumericEditorModel::setSuffix(std::string suffix) {
  suffix_ = std::move(suffix);
}

void NumericEditorModel::setRange(double minimum, double maximum) {
  min_ = minimum;
  max_ = maximum;
}

std::string NumericEditorModel::numberPart() const {
  // Typed without its leading blank ("12pt" in a " pt" editor) the suffix still counts.
  size_t at = suffix_.empty() ? std::string::npos : text_.find(suffix_);
  if (at == std::string::npos) {
    const std::string bare = trimBlanks(suffix_);
    if (!bare.empty()) {
      at = text_.find(bare);
    }
  }
  return trimBlanks(at == std::string::npos ? text_ : text_.substr(0, at));
}

bool NumericEditorModel::isEmpty() const {
  return numberPart().empty();
}

bool NumericEditorModel::isUnreadable() const {
  const std::string n = numberPart();
  if (n.empty()) {
    return false;
  }
  if (kind_ == NumericEditorKind::Percent) {
    return !parseWhole(n).has_value();
  }
  return !locale_.parseFloat(n).has_value();
}

double NumericEditorModel::value() const {
  const std::string n = numberPart();
  if (n.empty()) {
    return kind_ == NumericEditorKind::DirectedPoints ? min_ - step_ : 0;
  }
  if (kind_ == NumericEditorKind::Percent) {
    return static_cast<double>(parseWhole(n).value_or(0));
  }
  return locale_.parseFloat(n).value_or(0);
}

void NumericEditorModel::setValue(double value) {
  if (kind_ == NumericEditorKind::Percent) {
    text_ = std::to_string(static_cast<int64_t>(std::llround(value))) + suffix_;
    return;
  }
  text_ = locale_.formatFloat(value) + suffix_;
}

double NumericEditorModel::clamp(double v) const {
  return hasLimits() ? std::clamp(v, min_, max_) : v;
}

void NumericEditorModel::leave() {
  if (kind_ == NumericEditorKind::DirectedPoints && isEmpty()) {
    text_.clear();
    return;
  }
  if (isUnreadable()) {
    return;  // kept as typed, for the dialog to point out rather than store 0
  }
  setValue(clamp(value()));
}

bool NumericEditorModel::stepUp() {
  if (readOnly_) {
    return false;
  }
  switch (kind_) {
    case NumericEditorKind::Percent:
      return stepPercent(1);
    case NumericEditorKind::DirectedPoints:
      return stepDirected(1);
    default:
      return stepPlain(1);
  }
}

bool NumericEditorModel::stepDown() {
  if (readOnly_) {
    return false;
  }
  switch (kind_) {
    case NumericEditorKind::Percent:
      return stepPercent(-1);
    case NumericEditorKind::DirectedPoints:
      return stepDirected(-1);
    default:
      return stepPlain(-1);
  }
}

bool NumericEditorModel::stepPlain(int direction) {
  setValue(clamp(roundToStep(value() + direction * step_, rounding_)));
  return true;
}

bool NumericEditorModel::stepPercent(int direction) {
  const double v = value();
  if (hasLimits() && ((direction > 0 && v >= max_) || (direction < 0 && v <= min_))) {
    return false;
  }
  setValue(v + direction * step_);
  return true;
}

// Up moves toward "up" (or back toward zero from "down"); Down mirrors it. The value is a
// magnitude and the mode its direction.
bool NumericEditorModel::stepDirected(int direction) {
  const int32_t toward = direction > 0 ? kUp : kDown;
  const int32_t away = direction > 0 ? kDown : kUp;
  // An empty editor steps from just below its minimum, and never from a negative magnitude.
  double v = isEmpty() ? std::max(0.0, min_ - step_) : value();
  if (mode_ == away) {
    v = roundToStep(v - step_, rounding_);
    if (v <= 0) {
      v = 0;
      mode_ = kNoDirection;
    }
  } else {
    mode_ = toward;
    v = roundToStep(v + step_, rounding_);
  }
  setValue(clamp(v));
  return true;
}

}  // namespace kelvara::format
