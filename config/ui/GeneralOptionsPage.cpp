#include "config/ui/GeneralOptionsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "config/ConfigureRules.h"
#include "config/ui/ChoiceGroup.h"

namespace kelvara::config::ui {

GeneralOptionsPage::GeneralOptionsPage(const std::string& wordVersion, QWidget* parent)
    : SettingsPage(parent), personalInfoOffered_(OffersPersonalInfoRemoval(wordVersion)) {
  setObjectName("GeneralPage");
  auto* outer = new QVBoxLayout(this);

  auto* unitsRow = new QHBoxLayout;
  auto* unitsLabel = new QLabel("Measurement Units:", this);
  units_ = new QComboBox(this);
  units_->setObjectName("MeasurementUnitsCB");
  units_->addItems({"Inches", "Centimetres", "Millimetres", "Point", "Pica"});
  unitsLabel->setBuddy(units_);
  unitsRow->addWidget(unitsLabel);
  unitsRow->addWidget(units_);
  unitsRow->addStretch();
  outer->addLayout(unitsRow);

  extConv_ = box("Use external converter", "ExtConvCkB");
  singleFile_ = box("Single File", "SingleFileCkB");
  removePersonalInfo_ = box("Remove Personal info", "RemovePersonalInfoCkB");
  noConversion_ = box("No Conversion", "NoConversionCkB");
  addPagesNumbers_ = box("Add pages numbers", "AddPagesNumbersCkB");
  addOrigExt_ = box("Add Orig. Extn. to FileName", "AddOrigExtToFilNamCkB");
  preprocess_ = box("Preprocess (WordStar docs.)", "PreprocessCkB");
  scanSubDir_ = box("Scan Subdirectories", "ScanSubDirCkB");
  scanHFolders_ = box("Scan Hidden Folders", "ScanHFoldersCkB");
  scanHFiles_ = box("Scan Hidden Files", "ScanHFilesCkB");
  diffVertHoriz_ = box("Diff. Parms.Vert./Horiz Pag.", "DiffVertHorizPagParmsCkB");
  removeEmptySections_ = box("Remove Empty Sections", "RemoveEmptySectionsCkB");
  removeCR_ = box("Rem. CR at EndOfSections", "RemoveCRAtEndOfSectionsCkB");
  outDirTree_ = box("Keep Directory Tree", "OutDirTreeCkB");

  // Conversion switches on the left, folder scan and output on the right.
  auto* grid = new QGridLayout;
  QCheckBox* const left[] = {extConv_,         singleFile_, removePersonalInfo_, noConversion_,
                             addPagesNumbers_, addOrigExt_, preprocess_};
  QCheckBox* const right[] = {scanSubDir_,          scanHFolders_, scanHFiles_, diffVertHoriz_,
                              removeEmptySections_, removeCR_,     outDirTree_};
  for (int i = 0; i < 7; ++i) {
    grid->addWidget(left[i], i, 0);
    grid->addWidget(right[i], i, 1);
  }
  outer->addLayout(grid);

  auto* bottom = new QHBoxLayout;
  textFiles_ = new QGroupBox("Text Files", this);
  textFiles_->setObjectName("TextFilesGB");
  auto* textLayout = new QVBoxLayout(textFiles_);
  insLineBreaks_ = new QCheckBox("Insert Line Breaks", textFiles_);
  insLineBreaks_->setObjectName("InsLineBreaksCkB");
  allowSubst_ = new QCheckBox("Allow chars substit.", textFiles_);
  allowSubst_->setObjectName("AllowSubstCkB");
  textLayout->addWidget(insLineBreaks_);
  textLayout->addWidget(allowSubst_);
  bottom->addWidget(textFiles_);
  // Kept for the option's value; the office writes the platform's line ends, so it stays hidden.
  lineTerm_ = new ChoiceGroup("Line Terminator", {"CR/LF", "CR"}, "LineTermRG", false, this);
  lineTerm_->setVisible(false);
  bottom->addWidget(lineTerm_);
  bottom->addStretch();
  outer->addLayout(bottom);
  outer->addStretch();

  removePersonalInfo_->setVisible(personalInfoOffered_);
  removePersonalInfo_->setEnabled(personalInfoOffered_);

  connect(extConv_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) {
      noConversion_->setChecked(false);
    }
  });
  connect(singleFile_, &QCheckBox::toggled, this, [this] { applySingleFile(); });
}

QCheckBox* GeneralOptionsPage::box(const QString& caption, const char* name) {
  auto* b = new QCheckBox(caption, this);
  b->setObjectName(name);
  return b;
}

void GeneralOptionsPage::applySingleFile() {
  const bool folders = !singleFile_->isChecked();
  for (QCheckBox* b : {scanSubDir_, scanHFolders_, scanHFiles_, outDirTree_}) {
    b->setEnabled(folders);
  }
}

void GeneralOptionsPage::load(const Settings& s) {
  units_->setCurrentIndex(
      s.MeasurementUnits >= 0 && s.MeasurementUnits < units_->count() ? s.MeasurementUnits : 0);
  noConversion_->setChecked(s.NoConversion);
  extConv_->setChecked(s.ExtConv);
  singleFile_->setChecked(s.SingleFile);
  removePersonalInfo_->setChecked(personalInfoOffered_ && s.RemovePersonalInfo);
  addPagesNumbers_->setChecked(s.AddPagesNumbers);
  addOrigExt_->setChecked(s.AddOrigExtToFilNam);
  preprocess_->setChecked(s.Preprocess);
  scanSubDir_->setChecked(s.ScanSubDir);
  scanHFolders_->setChecked(s.ScanHFolders);
  scanHFiles_->setChecked(s.ScanHFiles);
  diffVertHoriz_->setChecked(s.DiffVertHorizPagParms);
  removeEmptySections_->setChecked(s.RemoveEmptySections);
  removeCR_->setChecked(s.RemoveCRAtEndOfSections);
  outDirTree_->setChecked(s.OutDirTree);
  insLineBreaks_->setChecked(s.InsLineBreaks);
  allowSubst_->setChecked(s.AllowSubst);
  lineTerm_->setIndex(s.LineTerm);
  applySingleFile();
}

void GeneralOptionsPage::store(Settings& s) const {
  s.MeasurementUnits = units_->currentIndex();
  s.ExtConv = extConv_->isChecked();
  s.SingleFile = singleFile_->isChecked();
  s.RemovePersonalInfo = personalInfoOffered_ && removePersonalInfo_->isChecked();
  s.NoConversion = noConversion_->isChecked();
  s.AddPagesNumbers = addPagesNumbers_->isChecked();
  s.AddOrigExtToFilNam = addOrigExt_->isChecked();
  s.Preprocess = preprocess_->isChecked();
  s.ScanSubDir = scanSubDir_->isChecked();
  s.ScanHFolders = scanHFolders_->isChecked();
  s.ScanHFiles = scanHFiles_->isChecked();
  s.DiffVertHorizPagParms = diffVertHoriz_->isChecked();
  s.RemoveEmptySections = removeEmptySections_->isChecked();
  s.RemoveCRAtEndOfSections = removeCR_->isChecked();
  s.OutDirTree = outDirTree_->isChecked();
  s.InsLineBreaks = insLineBreaks_->isChecked();
  s.AllowSubst = allowSubst_->isChecked();
  if (lineTerm_->index() >= 0) {
    s.LineTerm = lineTerm_->index();
  }
}

bool GeneralOptionsPage::diffVertHorizPagParms() const {
  return diffVertHoriz_->isChecked();
}

void GeneralOptionsPage::setDiffVertHorizPagParms(bool on) {
  diffVertHoriz_->setChecked(on);
}

}  // namespace kelvara::config::ui
