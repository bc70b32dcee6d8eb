#pragma once

#include <QDialog>
#include <string>

#include "config/ParameterStatus.h"
#include "config/Settings.h"
#include "format/FormatParameterSet.h"
#include "platform/Locale.h"
#include "word/FormatTables.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace kelvara::config::ui {

// Read-only view of the formatting parameters: which are applied and, on request, their values.
class TShowStateDlg : public QDialog {
  Q_OBJECT
 public:
  TShowStateDlg(const ParameterStatus& status, QWidget* parent = nullptr);

  QListWidget* pageList() const { return pageList_; }
  QListWidget* paragraphList() const { return paragraphList_; }
  QListWidget* fontList() const { return fontList_; }
  QListWidget* userDataList() const { return userDataList_; }
  QListWidget* revisionsList() const { return revisionsList_; }
  QLabel* pageLabel() const { return pageLabel_; }
  QLabel* revisionsLabel() const { return revisionsLabel_; }
  QPushButton* fullButton() const { return fullBtn_; }
  QPushButton* valuesButton() const { return valuesBtn_; }
  QPushButton* okButton() const { return okBtn_; }
  QPushButton* cancelButton() const { return cancelBtn_; }
  QTableWidget* valueGrid() const { return grid_; }
  // The page list shows the two records side by side.
  bool twoColumns() const { return twoColumns_; }

 public slots:
  void toggleColumns();
  void toggleValues();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void setTwoColumns(bool on);

  QListWidget* pageList_ = nullptr;
  QListWidget* paragraphList_ = nullptr;
  QListWidget* fontList_ = nullptr;
  QListWidget* userDataList_ = nullptr;
  QListWidget* revisionsList_ = nullptr;
  QLabel* pageLabel_ = nullptr;
  QLabel* revisionsLabel_ = nullptr;
  QPushButton* fullBtn_ = nullptr;
  QPushButton* valuesBtn_ = nullptr;
  QPushButton* okBtn_ = nullptr;
  QPushButton* cancelBtn_ = nullptr;
  QTableWidget* grid_ = nullptr;
  bool twoRecords_ = false;
  bool twoColumns_ = false;
};

// Opens the view modally. The parameter set is left as it is; wordVersion decides whether the
// revision options are shown (the engine has them as the "11.0" generation does).
void showParametersStatus(QWidget* parent, const format::FormatParameterSet& params,
                          const Settings& settings,
                          const platform::Locale& locale = platform::Locale::fromEnvironment(),
                          const std::string& wordVersion = word::kRevisionRulesVersion);

}  // namespace kelvara::config::ui
