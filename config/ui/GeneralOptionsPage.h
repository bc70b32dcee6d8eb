#pragma once

#include <string>

#include "config/ui/SettingsPage.h"

class QCheckBox;
class QComboBox;
class QGroupBox;

namespace kelvara::config::ui {

class ChoiceGroup;

// "General": the measurement unit, the conversion switches, the folder scan and the text-output
// options.
class GeneralOptionsPage : public SettingsPage {
  Q_OBJECT

 public:
  GeneralOptionsPage(const std::string& wordVersion, QWidget* parent = nullptr);

  void load(const Settings& settings) override;
  void store(Settings& settings) const override;

  // "Diff. Parms.Vert./Horiz Pag." as it stands now; the parameter dialogs follow it.
  bool diffVertHorizPagParms() const;
  void setDiffVertHorizPagParms(bool on);

 private:
  QCheckBox* box(const QString& caption, const char* name);
  void applySingleFile();

  bool personalInfoOffered_;
  QComboBox* units_ = nullptr;
  QCheckBox* extConv_ = nullptr;
  QCheckBox* singleFile_ = nullptr;
  QCheckBox* removePersonalInfo_ = nullptr;
  QCheckBox* noConversion_ = nullptr;
  QCheckBox* addPagesNumbers_ = nullptr;
  QCheckBox* addOrigExt_ = nullptr;
  QCheckBox* preprocess_ = nullptr;
  QCheckBox* scanSubDir_ = nullptr;
  QCheckBox* scanHFolders_ = nullptr;
  QCheckBox* scanHFiles_ = nullptr;
  QCheckBox* diffVertHoriz_ = nullptr;
  QCheckBox* removeEmptySections_ = nullptr;
  QCheckBox* removeCR_ = nullptr;
  QCheckBox* outDirTree_ = nullptr;
  QGroupBox* textFiles_ = nullptr;
  QCheckBox* insLineBreaks_ = nullptr;
  QCheckBox* allowSubst_ = nullptr;
  ChoiceGroup* lineTerm_ = nullptr;
};

}  // namespace kelvara::config::ui
