#include "config/ui/LogOptionsPage.h"

#include <QCheckBox>
#include <QGridLayout>

namespace kelvara::config::ui {

LogOptionsPage::LogOptionsPage(QWidget* parent) : SettingsPage(parent) {
  setObjectName("LogPage");
  struct Option {
    const char* caption;
    const char* name;
    bool Settings::*field;
  };
  const Option options[] = {
      {"Errors", "LogErrorsCkB", &Settings::LogErrors},
      {"Date changes", "LogDateChangesCkB", &Settings::LogDateChanges},
      {"File renames", "LogFileRenamesCkB", &Settings::LogFileRenames},
      {"Forlder operations", "LogFoldersOperationCkB", &Settings::LogFoldersOperation},
      {"Skipped files", "LogSlippedFilesCkB", &Settings::LogSlippedFiles},
      {"Warnings", "LogWarningsCkB", &Settings::LogWarnings},
      {"Deletions", "LogDeletionsCkB", &Settings::LogDeletions},
      {"Attributes changes", "LogAttributesChangeCkB", &Settings::LogAttributesChange},
      {"Security changes", "LogSecurityChangeCkB", &Settings::LogSecurityChange},
  };
  auto* grid = new QGridLayout(this);
  grid->setHorizontalSpacing(32);
  int i = 0;
  for (const Option& o : options) {
    auto* b = new QCheckBox(o.caption, this);
    b->setObjectName(o.name);
    grid->addWidget(b, i % 5, i / 5);
    boxes_.emplace_back(b, o.field);
    ++i;
  }
  grid->setRowStretch(5, 1);
  grid->setColumnStretch(2, 1);
}

void LogOptionsPage::load(const Settings& s) {
  for (const auto& [box, field] : boxes_) {
    box->setChecked(s.*field);
  }
}

void LogOptionsPage::store(Settings& s) const {
  for (const auto& [box, field] : boxes_) {
    s.*field = box->isChecked();
  }
}

}  // namespace kelvara::config::ui
