#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "config/IniFile.h"
#include "config/ui/DialogSupport.h"
#include "format/FormatParameterSet.h"
#include "platform/Locale.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QSpinBox;
class QTabWidget;

namespace kelvara::config::ui {

class NumericEdit;

// "Font Setup": the font values. OK writes "Font Setup" and hands the values back; Cancel
// changes nothing.
class FontSetupDialog : public QDialog {
  Q_OBJECT

 public:
  // fontNames: the fonts the engine offers, in the order to list them.
  FontSetupDialog(format::FormatParameterSet& params, IniFile& ini,
                  const std::vector<std::string>& fontNames, platform::Locale locale, HelpFn help,
                  QWidget* parent = nullptr);

  void setPrompts(DialogPrompts prompts) { prompts_ = std::move(prompts); }

 private:
  void ok();
  void directionChosen(QComboBox* list, NumericEdit* editor);
  void editorChanged(QComboBox* list, NumericEdit* editor);
  NumericEdit* directed(const char* name, double step, double rounding);

  format::FormatParameterSet& params_;
  IniFile& ini_;
  platform::Locale locale_;
  DialogPrompts prompts_ = DialogPrompts::messageBoxes();

  QTabWidget* tabs_ = nullptr;
  QListWidget* name_ = nullptr;
  QListWidget* style_ = nullptr;
  QListWidget* size_ = nullptr;
  QSpinBox* shrink_ = nullptr;
  QSpinBox* grow_ = nullptr;
  QComboBox* scale_ = nullptr;
  QComboBox* spacingType_ = nullptr;
  NumericEdit* spacing_ = nullptr;
  QComboBox* positionType_ = nullptr;
  NumericEdit* position_ = nullptr;
  QCheckBox* kerning_ = nullptr;
  NumericEdit* kerningSize_ = nullptr;
};

bool runFontSetupDialog(QWidget* parent, format::FormatParameterSet& params, IniFile& ini,
                        const std::vector<std::string>& fontNames, const HelpFn& help);

}  // namespace kelvara::config::ui
