#pragma once

#include <QString>
#include <functional>

#include "config/ui/SettingsPage.h"

class QCheckBox;
class QGroupBox;

namespace kelvara::config::ui {

// "Security": which parts of the sources' security the outputs receive, for folders and files.
class SecurityPage : public SettingsPage {
  Q_OBJECT

 public:
  // Tells the operator something; tests replace the message box.
  using Notice = std::function<void(QWidget* parent, const QString& text)>;

  explicit SecurityPage(QWidget* parent = nullptr);

  void load(const Settings& settings) override;
  void store(Settings& settings) const override;

  // Without administrator rights the page says, whenever it is shown, that its settings will have
  // no effect.
  void setAdministrator(bool administrator) { administrator_ = administrator; }
  void setNotice(Notice notice) { notice_ = std::move(notice); }

  // What the page says when shown without administrator rights.
  static QString noAdministratorText();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // One group's boxes, in the order of the group's options.
  struct Boxes {
    QCheckBox* owner = nullptr;
    QCheckBox* dacl = nullptr;
    QCheckBox* group = nullptr;
    QCheckBox* sacl = nullptr;
    QCheckBox* takeOwnership = nullptr;
    QCheckBox* copyAll = nullptr;
    QCheckBox* everyone = nullptr;
  };
  QGroupBox* makeGroup(const QString& title, const QString& what, const QString& prefix,
                       Boxes& boxes);
  void connectCopyAll(const Boxes& boxes);

  bool administrator_ = true;
  Notice notice_;
  Boxes folders_;
  Boxes files_;
};

}  // namespace kelvara::config::ui
