#include "config/ui/AttributesPage.h"

#include <QGridLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/ui/ChoiceGroup.h"

namespace kelvara::config::ui {

AttributesPage::AttributesPage(QWidget* parent) : SettingsPage(parent) {
  setObjectName("AttributesPage");
  auto* outer = new QVBoxLayout(this);
  copy_ = new QRadioButton("Copy file/folders attributes", this);
  copy_->setObjectName("CopyFilesAttrRB");
  adjust_ = new QRadioButton("Adjust target attributes to:", this);
  adjust_->setObjectName("AdjustFilesAttrRB");
  outer->addWidget(copy_);
  outer->addWidget(adjust_);

  const QStringList items = {"On", "Off", "Copy"};
  readOnly_ = new ChoiceGroup("Read Only", items, "ReadOnlyAttrbRG", true, this);
  hidden_ = new ChoiceGroup("Hidden", items, "HiddenAttrbRG", true, this);
  archive_ = new ChoiceGroup("Archive", items, "ArchiveAttrbRG", true, this);
  system_ = new ChoiceGroup("System", items, "SystemAttrbRG", true, this);
  auto* grid = new QGridLayout;
  grid->setContentsMargins(24, 0, 0, 0);
  grid->addWidget(readOnly_, 0, 0);
  grid->addWidget(hidden_, 0, 1);
  grid->addWidget(archive_, 1, 0);
  grid->addWidget(system_, 1, 1);
  outer->addLayout(grid);
  outer->addStretch();

  connect(adjust_, &QRadioButton::toggled, this, [this] { applyMode(); });
}

void AttributesPage::applyMode() {
  for (ChoiceGroup* g : {readOnly_, hidden_, archive_, system_}) {
    g->setEnabled(adjust_->isChecked());
  }
}

void AttributesPage::load(const Settings& s) {
  (s.CopyFilesAttr ? copy_ : adjust_)->setChecked(true);
  readOnly_->setIndex(s.ReadOnlyAttrb);
  hidden_->setIndex(s.HiddenAttrb);
  archive_->setIndex(s.ArchiveAttrb);
  system_->setIndex(s.SystemAttrb);
  applyMode();
}

void AttributesPage::store(Settings& s) const {
  s.CopyFilesAttr = copy_->isChecked();
  if (s.CopyFilesAttr) {
    return;
  }
  auto take = [](const ChoiceGroup* g, int32_t& field) {
    if (g->index() >= 0) {
      field = g->index();
    }
  };
  take(readOnly_, s.ReadOnlyAttrb);
  take(hidden_, s.HiddenAttrb);
  take(archive_, s.ArchiveAttrb);
  take(system_, s.SystemAttrb);
}

}  // namespace kelvara::config::ui
