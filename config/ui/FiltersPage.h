#pragma once

#include "config/ui/SettingsPage.h"
#include "platform/Locale.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace kelvara::config::ui {

class ChoiceGroup;

// "Filters": which found files a run converts, by attributes, date, age and size.
class FiltersPage : public SettingsPage {
  Q_OBJECT

 public:
  FiltersPage(const platform::Locale& locale, QWidget* parent = nullptr);

  void load(const Settings& settings) override;
  void store(Settings& settings) const override;

 private:
  // A size filter: its box, number and unit list, and the unit the number is shown in.
  struct SizeRow {
    QCheckBox* box = nullptr;
    QLineEdit* number = nullptr;
    QComboBox* unit = nullptr;
    int shownUnit = 0;
  };
  // An age filter: its box, count, unit list and the "old" label.
  struct AgeRow {
    QCheckBox* box = nullptr;
    QSpinBox* count = nullptr;
    QComboBox* unit = nullptr;
    QLabel* old = nullptr;
  };

  QGroupBox* makeAttributes();
  QGroupBox* makeDates(const platform::Locale& locale);
  QGroupBox* makeSizes();
  void makeAge(AgeRow& row, const QString& caption, const QString& prefix, QWidget* parent);
  void makeSize(SizeRow& row, const QString& caption, const QString& prefix, QWidget* parent);
  void applyEnabling();
  void loadSize(SizeRow& row, bool on, int64_t bytes, int32_t unit);
  void storeSize(const SizeRow& row, bool& on, int64_t& bytes, int32_t& unit) const;

  QCheckBox* includeAttributes_ = nullptr;
  ChoiceGroup* readOnly_ = nullptr;
  ChoiceGroup* hidden_ = nullptr;
  ChoiceGroup* archive_ = nullptr;
  ChoiceGroup* system_ = nullptr;
  QCheckBox* includeDate_ = nullptr;
  QLabel* fromLabel_ = nullptr;
  QLabel* toLabel_ = nullptr;
  QDateEdit* from_ = nullptr;
  QDateEdit* to_ = nullptr;
  AgeRow newer_;
  AgeRow older_;
  SizeRow min_;
  SizeRow max_;
};

}  // namespace kelvara::config::ui
