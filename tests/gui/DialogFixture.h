#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/IniFile.h"
#include "config/ui/DialogSupport.h"
#include "config/ui/NumericEdit.h"
#include "support/ScratchDir.h"

namespace kelvara::testing {

// A Kelva.ini of its own in a temporary folder.
struct IniFixture {
  ScratchDir dir;
  std::string path = dir / "Kelva.ini";
  config::IniFile ini{path};

  std::string bytes() const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // The key's text, or "<absent>".
  std::string key(const std::string& section, const std::string& name) const {
    return ini.read(section, name).value_or("<absent>");
  }
};

// Message boxes replaced by a record of what they would have said.
struct PromptLog {
  std::vector<QString> errors;
  std::vector<QString> questions;
  bool answer = true;

  config::ui::DialogPrompts prompts() {
    config::ui::DialogPrompts p;
    p.error = [this](QWidget*, const QString& title, const QString& text) {
      errors.push_back(title + ": " + text);
    };
    p.question = [this](QWidget*, const QString& title, const QString& text) {
      questions.push_back(title + ": " + text);
      return answer;
    };
    return p;
  }
};

template <class T>
T* child(QWidget* parent, const char* name) {
  T* c = parent->findChild<T*>(name);
  if (c == nullptr) {
    ADD_FAILURE() << "no " << name;
  }
  return c;
}

inline QString shown(config::ui::NumericEdit* e) {
  return e->findChild<QLineEdit*>()->text();
}

// Replaces the field's text by typing, then leaves the field.
inline void typeInto(config::ui::NumericEdit* e, const QString& text, bool leave = true) {
  QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(e, Qt::Key_Backspace);
  QTest::keyClicks(e, text);
  if (leave) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(e, &out);
  }
}

// What a user's choice in the list does: a new entry and the activation signal.
inline void choose(QComboBox* c, int index) {
  c->setCurrentIndex(index);
  emit c->activated(index);
}

inline void press(QWidget* dialog, const char* button) {
  child<QAbstractButton>(dialog, button)->click();
}

// Saves the widget as it is drawn when KELVARA_SCREENSHOT_DIR names a folder.
inline void screenshot(QWidget* w, const std::string& name) {
  const char* dir = std::getenv("KELVARA_SCREENSHOT_DIR");
  if (dir == nullptr || *dir == '\0') {
    return;
  }
  w->grab().save(QString::fromStdString(std::string(dir) + "/" + name + ".png"));
}

}  // namespace kelvara::testing
