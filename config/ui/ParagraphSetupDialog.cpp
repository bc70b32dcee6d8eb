#include "config/ui/ParagraphSetupDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "config/SettingsWriter.h"
#include "config/ui/NumericEdit.h"
#include "format/ConvertLengths.h"
#include "format/MeasurementUnits.h"
#include "format/ParameterDialogRules.h"

namespace kelvara::config::ui {
namespace {

QCheckBox* checkBox(const char* text, const char* name, bool checked) {
  auto* c = new QCheckBox(text);
  c->setObjectName(name);
  c->setChecked(checked);
  return c;
}

}  // namespace

NumericEdit* ParagraphSetupDialog::edit(format::NumericEditorKind kind, const char* name) {
  auto* e = new NumericEdit(kind, locale_);
  e->setObjectName(name);
  if (kind == format::NumericEditorKind::Length) {
    e->setUnit(unit_);
  }
  return e;
}

ParagraphSetupDialog::ParagraphSetupDialog(format::FormatParameterSet& params,
                                           const Settings& settings, IniFile& ini,
                                           platform::Locale locale, HelpFn help, QWidget* parent)
    : QDialog(parent),
      params_(params),
      edit_(params),
      ini_(ini),
      locale_(std::move(locale)),
      unit_(settings.MeasurementUnits) {
  setWindowTitle("Paragraph Setup");
  setObjectName("ParagraphsSetupDlg");
  if (unit_ != format::kPoints) {
    if (auto problem = format::ConvertLengths(edit_, unit_, unit_)) {
      prompts_.error(this, "Error", QString::fromStdString(*problem));
      unit_ = format::kPoints;
    }
  }
  const auto& p = edit_.Paragraph;
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("ParagraphTabs");
  tabs_->setUsesScrollButtons(false);

  auto* indents = new QWidget;
  auto* form = new QFormLayout(indents);
  alignment_ = new QComboBox;
  alignment_->setObjectName("AlignmentCB");
  alignment_->addItems({"Left", "Centered", "Right", "Justified"});
  alignment_->setCurrentIndex(std::clamp(p.ParagraphAlignment, 0, 3));
  form->addRow("Alignment::", alignment_);
  left_ = edit(format::NumericEditorKind::Length, "LeftIndentSpE");
  left_->setValue(p.ParagraphLeftIndent);
  right_ = edit(format::NumericEditorKind::Length, "RightIndentSpE");
  right_->setValue(p.ParagraphRightIndent);
  firstLine_ = edit(format::NumericEditorKind::Length, "FirstLineIndentSpE");
  firstLine_->setRange(0, 1000);
  firstLine_->setValue(p.ParagraphFirstLineIndent);
  form->addRow("Left:", left_);
  form->addRow("Rigth:", right_);
  form->addRow("First line Indent:", firstLine_);
  before_ = edit(format::NumericEditorKind::Points, "SpaceBeforeSpE");
  after_ = edit(format::NumericEditorKind::Points, "SpaceAfterSpE");
  for (NumericEdit* e : {before_, after_}) {
    e->setStep(6);
    e->setRange(0, 1000);
  }
  before_->setValue(p.ParagraphSpaceBefore);
  after_->setValue(p.ParagraphSpaceAfter);
  form->addRow("Before:", before_);
  form->addRow("After:", after_);
  rule_ = new QComboBox;
  rule_->setObjectName("LineSpacingRuleCB");
  rule_->addItems({"Single", "1.5", "Double", "At Least", "Exactly", "Multiple"});
  rule_->setCurrentIndex(std::clamp(p.ParagraphLineSpacingRule, 0, 5));
  spacing_ = edit(format::NumericEditorKind::Points, "LineSpacingSpE");
  spacing_->setRange(0, 1584);
  spacing_->setValue(p.ParagraphLineSpacing);
  auto* spacingRow = new QHBoxLayout;
  spacingRow->addWidget(rule_);
  spacingRow->addWidget(new QLabel("Value:"));
  spacingRow->addWidget(spacing_);
  form->addRow("Line Spacing:", spacingRow);
  tabs_->addTab(indents, "&Indents and Spacing");

  auto* breaks = new QWidget;
  auto* breaksLayout = new QVBoxLayout(breaks);
  widow_ = checkBox("&Window/Orphan Control", "WidowControlCkB", p.WidowControl);
  keepNext_ = checkBox("Keep with ne&xt", "KeepWithNextCkB", p.KeepWithNext);
  keepTogether_ = checkBox("&Keep lines together", "KeepTogetherCkB", p.KeepTogether);
  pageBreak_ = checkBox("Page &break before", "PageBreakBeforeCkB", p.PageBreakBefore);
  noLineNumber_ = checkBox("&Suppress line numbers", "NoLineNumberCkB", p.NoLineNumber);
  dontHyphenate_ = checkBox("&Don't hyphenate", "DontHyphenateCkB", !p.Hyphenation);
  for (QCheckBox* c :
       {widow_, keepNext_, keepTogether_, pageBreak_, noLineNumber_, dontHyphenate_}) {
    breaksLayout->addWidget(c);
  }
  breaksLayout->addStretch();
  tabs_->addTab(breaks, "Line and &Page Breaks");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(okCancelHelpButtons(this, help, "ParagraphSetup.html", [this] { ok(); }));
  connect(this, &QDialog::rejected, this,
          [this] { dialogMemory().paragraphTab = tabs_->currentIndex(); });

  showLineSpacing(rule_->currentIndex(), false);
  connect(rule_, &QComboBox::activated, this, &ParagraphSetupDialog::ruleChosen);
  connect(spacing_, &NumericEdit::edited, this, &ParagraphSetupDialog::lineSpacingTyped);
  connect(spacing_, &QAbstractSpinBox::editingFinished, this,
          &ParagraphSetupDialog::lineSpacingLeft);
  tabs_->setCurrentIndex(std::clamp(dialogMemory().paragraphTab, 0, tabs_->count() - 1));
}

void ParagraphSetupDialog::showLineSpacing(int32_t rule, bool chosen) {
  const format::LineSpacingField f = format::lineSpacingField(rule, spacing_->value(), chosen);
  spacing_->setSuffix(f.suffix);
  spacing_->setStep(f.step);
  if (f.empty) {
    spacing_->clearValue();
  } else {
    spacing_->setValue(f.value);
  }
}

void ParagraphSetupDialog::ruleChosen() {
  showLineSpacing(rule_->currentIndex(), true);
}

void ParagraphSetupDialog::lineSpacingTyped() {
  if (!format::typingSwitchesToMultiple(rule_->currentIndex())) {
    return;
  }
  const QSignalBlocker block(rule_);
  rule_->setCurrentIndex(format::kLineSpacingMultiple);
  spacing_->setStep(0.5);
  // The value being typed stays as typed; the suffix goes once the field is left.
}

void ParagraphSetupDialog::lineSpacingLeft() {
  if (rule_->currentIndex() != format::kLineSpacingMultiple || spacing_->isUnreadable()) {
    return;
  }
  const double v = spacing_->value();
  spacing_->setSuffix("");
  spacing_->setValue(v < 0.001 ? 3 : v);
}

void ParagraphSetupDialog::ok() {
  if (rule_->currentIndex() == format::kLineSpacingMultiple) {
    lineSpacingLeft();
  }
  if (auto problem = unreadableField({{"Left", left_},
                                      {"Rigth", right_},
                                      {"First line Indent", firstLine_},
                                      {"Before", before_},
                                      {"After", after_},
                                      {"Line Spacing", spacing_}})) {
    prompts_.error(this, "Error", *problem);
    return;
  }
  format::FormatParameterSet back = edit_;
  auto& p = back.Paragraph;
  p.ParagraphAlignment = alignment_->currentIndex();
  p.ParagraphLeftIndent = left_->value();
  p.ParagraphRightIndent = right_->value();
  p.ParagraphFirstLineIndent = firstLine_->value();
  p.ParagraphSpaceBefore = before_->value();
  p.ParagraphSpaceAfter = after_->value();
  p.ParagraphLineSpacingRule = rule_->currentIndex();
  // The fixed rules show no value; the stored one is kept for when a measured rule comes back.
  if (!spacing_->isEmpty()) {
    p.ParagraphLineSpacing = spacing_->value();
  }
  p.WidowControl = widow_->isChecked();
  p.KeepWithNext = keepNext_->isChecked();
  p.KeepTogether = keepTogether_->isChecked();
  p.PageBreakBefore = pageBreak_->isChecked();
  p.NoLineNumber = noLineNumber_->isChecked();
  p.Hyphenation = !dontHyphenate_->isChecked();
  if (unit_ != format::kPoints) {
    format::ConvertLengths(back, format::kPoints, unit_);
  }
  format::FormatParameterSet result = params_;
  result.Paragraph = back.Paragraph;
  if (!saveOrReport(this, prompts_, "paragraph settings",
                    [&] { SaveParagraphValues(ini_, result, locale_); })) {
    return;
  }
  params_ = result;
  dialogMemory().paragraphTab = tabs_->currentIndex();
  accept();
}

bool runParagraphSetupDialog(QWidget* parent, format::FormatParameterSet& params,
                             const Settings& settings, IniFile& ini, const HelpFn& help) {
  ParagraphSetupDialog dlg(params, settings, ini, platform::Locale::fromEnvironment(), help,
                           parent);
  return dlg.exec() == QDialog::Accepted;
}

}  // namespace kelvara::config::ui
