#include "config/ui/UserDataPage.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kelvara::config::ui {

UserDataPage::UserDataPage(QWidget* parent) : SettingsPage(parent) {
  setObjectName("UserDataPage");
  auto* form = new QFormLayout;
  auto add = [&](const char* caption, const char* name) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    form->addRow(caption, field);
    return field;
  };
  name_ = add("User Name:", "UserNameEdit");
  initials_ = add("User Initials:", "UserInitialsEdit");
  address_ = add("User Address:", "UserAddressEdit");
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addStretch();
}

void UserDataPage::load(const Settings& s) {
  name_->setText(QString::fromStdString(s.UserName));
  initials_->setText(QString::fromStdString(s.UserInitials));
  address_->setText(QString::fromStdString(s.UserAddress));
}

void UserDataPage::store(Settings& s) const {
  s.UserName = name_->text().toStdString();
  s.UserInitials = initials_->text().toStdString();
  s.UserAddress = address_->text().toStdString();
}

}  // namespace kelvara::config::ui
