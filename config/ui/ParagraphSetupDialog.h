#pragma once

#include <QDialog>

#include "config/IniFile.h"
#include "config/Settings.h"
#include "config/ui/DialogSupport.h"
#include "format/FormatParameterSet.h"
#include "format/NumericEditing.h"
#include "platform/Locale.h"

class QCheckBox;
class QComboBox;
class QTabWidget;

namespace kelvara::config::ui {

class NumericEdit;

// "Paragraph Setup": the paragraph values, indents in the display unit. OK writes "Paragraph
// Setup " and hands the values back; Cancel changes nothing.
class ParagraphSetupDialog : public QDialog {
  Q_OBJECT

 public:
  ParagraphSetupDialog(format::FormatParameterSet& params, const Settings& settings, IniFile& ini,
                       platform::Locale locale, HelpFn help, QWidget* parent = nullptr);

  void setPrompts(DialogPrompts prompts) { prompts_ = std::move(prompts); }

 private:
  void ok();
  void ruleChosen();
  void showLineSpacing(int32_t rule, bool chosen);
  void lineSpacingTyped();
  void lineSpacingLeft();
  NumericEdit* edit(format::NumericEditorKind kind, const char* name);

  format::FormatParameterSet& params_;
  format::FormatParameterSet edit_;
  IniFile& ini_;
  platform::Locale locale_;
  int32_t unit_;
  DialogPrompts prompts_ = DialogPrompts::messageBoxes();

  QTabWidget* tabs_ = nullptr;
  QComboBox* alignment_ = nullptr;
  NumericEdit* left_ = nullptr;
  NumericEdit* right_ = nullptr;
  NumericEdit* firstLine_ = nullptr;
  NumericEdit* before_ = nullptr;
  NumericEdit* after_ = nullptr;
  QComboBox* rule_ = nullptr;
  NumericEdit* spacing_ = nullptr;
  QCheckBox* widow_ = nullptr;
  QCheckBox* keepNext_ = nullptr;
  QCheckBox* keepTogether_ = nullptr;
  QCheckBox* pageBreak_ = nullptr;
  QCheckBox* noLineNumber_ = nullptr;
  QCheckBox* dontHyphenate_ = nullptr;
};

bool runParagraphSetupDialog(QWidget* parent, format::FormatParameterSet& params,
                             const Settings& settings, IniFile& ini, const HelpFn& help);

}  // namespace kelvara::config::ui
