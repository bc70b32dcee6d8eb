#pragma once

#include "config/ui/SettingsPage.h"

class QLineEdit;

namespace kelvara::config::ui {

// "User Data": the author values the formatting may write into the documents.
class UserDataPage : public SettingsPage {
  Q_OBJECT

 public:
  explicit UserDataPage(QWidget* parent = nullptr);

  void load(const Settings& settings) override;
  void store(Settings& settings) const override;

 private:
  QLineEdit* name_ = nullptr;
  QLineEdit* initials_ = nullptr;
  QLineEdit* address_ = nullptr;
};

}  // namespace kelvara::config::ui
