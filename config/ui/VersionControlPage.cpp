#include "config/ui/VersionControlPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/ConfigureRules.h"

namespace kelvara::config::ui {

VersionControlPage::VersionControlPage(QWidget* parent) : SettingsPage(parent) {
  setObjectName("VersionControlPage");
  auto* outer = new QVBoxLayout(this);
  auto radio = [&](const QString& caption, const char* name) {
    auto* r = new QRadioButton(caption, this);
    r->setObjectName(name);
    outer->addWidget(r);
    connect(r, &QRadioButton::toggled, this, [this] { applyChoice(); });
    return r;
  };
  none_ = radio("None", "NoVersionNumRB");
  rename_ = radio("Rename files before overwriting", "RenBeforeOverWrRB");

  auto* names = new QGridLayout;
  names->setContentsMargins(24, 0, 0, 0);
  prefixLabel_ = new QLabel("Add prefix:", this);
  prefix_ = new QLineEdit(this);
  prefix_->setObjectName("FileNamePrefixEdit");
  suffixLabel_ = new QLabel("Add suffix:", this);
  suffix_ = new QLineEdit(this);
  suffix_->setObjectName("FileNameSuffixEdit");
  prefixLabel_->setBuddy(prefix_);
  suffixLabel_->setBuddy(suffix_);
  names->addWidget(prefixLabel_, 0, 0);
  names->addWidget(prefix_, 0, 1);
  names->addWidget(suffixLabel_, 1, 0);
  names->addWidget(suffix_, 1, 1);
  names->setColumnStretch(2, 1);
  outer->addLayout(names);

  addVersion_ = radio("Add version number to latest copy", "AddVersNumRB");
  outer->addStretch();
}

void VersionControlPage::applyChoice() {
  const bool renaming = rename_->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{prefixLabel_, prefix_, suffixLabel_, suffix_}) {
    w->setEnabled(renaming);
  }
}

void VersionControlPage::load(const Settings& s) {
  QRadioButton* const buttons[] = {none_, rename_, addVersion_};
  buttons[VersionControlChoice(s.NoVersionNum, s.RenBeforeOverWr, s.AddVersNum)]->setChecked(true);
  prefix_->setText(QString::fromStdString(s.FileNamePrefix));
  suffix_->setText(QString::fromStdString(s.FileNameSuffix));
  applyChoice();
}

void VersionControlPage::store(Settings& s) const {
  s.NoVersionNum = none_->isChecked();
  s.RenBeforeOverWr = rename_->isChecked();
  s.AddVersNum = addVersion_->isChecked();
  s.FileNamePrefix = prefix_->text().toStdString();
  s.FileNameSuffix = suffix_->text().toStdString();
}

}  // namespace kelvara::config::ui
