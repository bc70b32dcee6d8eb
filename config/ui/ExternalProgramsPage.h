#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "config/ui/SettingsPage.h"
#include "platform/Locale.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace kelvara::config::ui {

class NumericEdit;

// Asks for a program file: the chooser's title and the current name; empty when cancelled.
using FileChooser =
    std::function<QString(QWidget* parent, const QString& title, const QString& current)>;
FileChooser fileDialogChooser();

// "External Programs": the external converter with its command line, the words-count program and
// the count checks with their warning thresholds.
class ExternalProgramsPage : public SettingsPage {
  Q_OBJECT

 public:
  ExternalProgramsPage(const platform::Locale& locale, QWidget* parent = nullptr);

  void load(const Settings& settings) override;
  void store(Settings& settings) const override;

  void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
  // A threshold whose text is no number, as a message, so that OK can refuse it.
  std::optional<QString> unreadableField() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void choose(QLineEdit* field, const QString& title);

  FileChooser chooser_ = fileDialogChooser();
  QLineEdit* converter_ = nullptr;
  QLineEdit* counter_ = nullptr;
  QLineEdit* cmdLine_[3] = {};
  QLineEdit* prefix_ = nullptr;
  QCheckBox* keepOutput_ = nullptr;
  QCheckBox* checks_[3] = {};
  QLabel* diffLabels_[3] = {};
  NumericEdit* diffs_[3] = {};
};

}  // namespace kelvara::config::ui
