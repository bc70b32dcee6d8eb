#pragma once

#include <QDialog>

#include "config/IniFile.h"
#include "config/Settings.h"
#include "config/ui/DialogSupport.h"
#include "format/FormatParameterSet.h"
#include "platform/Locale.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace kelvara::config::ui {

class NumericEdit;

// "Page Setup": the two orientation records and the document-wide page values, lengths shown in
// the display unit. Works on a converted copy; OK converts back, writes the page sections and
// hands the values back; Cancel changes nothing.
class PageSetupDialog : public QDialog {
  Q_OBJECT

 public:
  // settings gives MeasurementUnits and whether the Portrait and Landscape views are offered
  // (DiffVertHorizPagParms, as the configuration dialog's box stands).
  PageSetupDialog(format::FormatParameterSet& params, const Settings& settings, IniFile& ini,
                  platform::Locale locale, HelpFn help, QWidget* parent = nullptr);

  void setPrompts(DialogPrompts prompts) { prompts_ = std::move(prompts); }
  // 1 General, 2 Portrait, 3 Landscape.
  int view() const { return view_; }
  void showView(int setIndex);

 private:
  void ok();
  void remember();
  void applyView();
  void loadGeometry(const format::PageSetupSet& s);
  void storeGeometry(format::PageSetupSet& s) const;
  void paperChanged();
  bool orientationEditable() const;
  NumericEdit* lengthEdit(const char* name);

  format::FormatParameterSet& params_;
  format::FormatParameterSet edit_;
  IniFile& ini_;
  platform::Locale locale_;
  int32_t unit_;
  bool diff_;
  int view_ = 1;
  DialogPrompts prompts_ = DialogPrompts::messageBoxes();

  QTabWidget* tabs_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QToolButton* viewButtons_[3] = {};
  QLabel* viewLabel_ = nullptr;
  QWidget* marginsTab_ = nullptr;
  QWidget* paperTab_ = nullptr;
  QWidget* layoutTab_ = nullptr;
  QFormLayout* marginsForm_ = nullptr;
  QFormLayout* paperForm_ = nullptr;
  QFormLayout* layoutForm_ = nullptr;
  NumericEdit* top_ = nullptr;
  NumericEdit* bottom_ = nullptr;
  NumericEdit* left_ = nullptr;
  NumericEdit* right_ = nullptr;
  NumericEdit* gutter_ = nullptr;
  QComboBox* gutterPos_ = nullptr;
  QCheckBox* mirror_ = nullptr;
  QCheckBox* twoPages_ = nullptr;
  QComboBox* orientation_ = nullptr;
  QComboBox* paper_ = nullptr;
  NumericEdit* width_ = nullptr;
  NumericEdit* height_ = nullptr;
  QCheckBox* oddEven_ = nullptr;
  QCheckBox* firstPage_ = nullptr;
  NumericEdit* header_ = nullptr;
  NumericEdit* footer_ = nullptr;
  QComboBox* vAlign_ = nullptr;
};

bool runPageSetupDialog(QWidget* parent, format::FormatParameterSet& params,
                        const Settings& settings, IniFile& ini, const HelpFn& help);

}  // namespace kelvara::config::ui
