#include "config/ui/SecurityPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QShowEvent>
#include <QVBoxLayout>

namespace kelvara::config::ui {

QString SecurityPage::noAdministratorText() {
  return "To change security data you need Administrator privileges.\r\nActually you havn't them "
         "so you can access this page but the settings wont have any practical effects";
}

SecurityPage::SecurityPage(QWidget* parent) : SettingsPage(parent) {
  setObjectName("SecurityPage");
  notice_ = [](QWidget* p, const QString& text) { QMessageBox::information(p, "Security", text); };
  auto* outer = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  row->addWidget(makeGroup("NTFS Folder Security", "Folders", "Folders", folders_));
  row->addWidget(makeGroup("NTFS File Security", "Files", "Files", files_));
  outer->addLayout(row);
  outer->addStretch();
  connectCopyAll(folders_);
  connectCopyAll(files_);
}

QGroupBox* SecurityPage::makeGroup(const QString& title, const QString& what, const QString& prefix,
                                   Boxes& b) {
  auto* group = new QGroupBox(title, this);
  group->setObjectName(prefix + "SecurityGB");
  auto* layout = new QVBoxLayout(group);
  auto box = [&](const QString& caption, const QString& name) {
    auto* c = new QCheckBox(caption, group);
    c->setObjectName(name);
    layout->addWidget(c);
    return c;
  };
  b.owner = box("Copy " + what + " Owner", prefix + "OwnerCkB");
  b.dacl = box("Copy " + what + " Permissions (DACL)", prefix + "DACLCkB");
  b.group = box("Copy " + what + " Group", prefix + "GroupCkB");
  b.sacl = box("Copy " + what + " Auditing (SACL)", prefix + "SACLCkB");
  b.takeOwnership = box("Take the Ownership", prefix + "TakeOwnershipCkB");
  b.copyAll = box("Copy All", prefix + "CopyAllCkB");
  b.everyone = box("Set everyone RWED", prefix + "SetEveryoneRWEDCkB");
  layout->addStretch();
  return group;
}

void SecurityPage::connectCopyAll(const Boxes& b) {
  for (QCheckBox* part : {b.owner, b.dacl, b.group, b.sacl}) {
    connect(part, &QCheckBox::toggled, this, [copyAll = b.copyAll](bool on) {
      if (!on) {
        copyAll->setChecked(false);
      }
    });
  }
  connect(b.copyAll, &QCheckBox::clicked, this, [b](bool on) {
    if (on) {
      for (QCheckBox* part : {b.owner, b.dacl, b.group, b.sacl}) {
        part->setChecked(true);
      }
    }
  });
}

void SecurityPage::showEvent(QShowEvent* event) {
  SettingsPage::showEvent(event);
  if (!event->spontaneous() && !administrator_) {
    // After the page is on screen, so that the box does not stand in front of an empty frame.
    QMetaObject::invokeMethod(
        this, [this] { notice_(this, noAdministratorText()); }, Qt::QueuedConnection);
  }
}

void SecurityPage::load(const Settings& s) {
  // The parts first: unchecking one clears "Copy All", which is loaded after them.
  folders_.owner->setChecked(s.CopyFoldersOwner);
  folders_.dacl->setChecked(s.CopyFoldersDACL);
  folders_.group->setChecked(s.CopyFoldersGroup);
  folders_.sacl->setChecked(s.CopyFoldersSACL);
  folders_.takeOwnership->setChecked(s.FolderTakeOwnership);
  folders_.copyAll->setChecked(s.FoldersCopySecurityAll);
  folders_.everyone->setChecked(s.FolderSetEveryoneRWED);
  files_.owner->setChecked(s.CopyFilesOwner);
  files_.dacl->setChecked(s.CopyFilesDACL);
  files_.group->setChecked(s.CopyFilesGroup);
  files_.sacl->setChecked(s.CopyFilesSACL);
  files_.takeOwnership->setChecked(s.FileTakeOwnership);
  files_.copyAll->setChecked(s.FilesCopySecurityAll);
  files_.everyone->setChecked(s.FileSetEveryoneRWED);
}

void SecurityPage::store(Settings& s) const {
  s.CopyFoldersOwner = folders_.owner->isChecked();
  s.CopyFoldersDACL = folders_.dacl->isChecked();
  s.CopyFoldersGroup = folders_.group->isChecked();
  s.CopyFoldersSACL = folders_.sacl->isChecked();
  s.FolderTakeOwnership = folders_.takeOwnership->isChecked();
  s.FoldersCopySecurityAll = folders_.copyAll->isChecked();
  s.CopyFilesOwner = files_.owner->isChecked();
  s.CopyFilesDACL = files_.dacl->isChecked();
  s.CopyFilesGroup = files_.group->isChecked();
  s.CopyFilesSACL = files_.sacl->isChecked();
  s.FileTakeOwnership = files_.takeOwnership->isChecked();
  s.FilesCopySecurityAll = files_.copyAll->isChecked();
  // "Set everyone RWED" is shown but not taken.
}

}  // namespace kelvara::config::ui
