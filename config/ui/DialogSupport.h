#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QLabel;
class QToolBar;
class QToolButton;

class QDialog;
class QDialogButtonBox;
class QWidget;

namespace kelvara::config::ui {

class NumericEdit;

// Opens the help topic (a page name such as "PageSetup.html").
using HelpFn = std::function<void(const std::string& topic)>;

// How the dialogs talk to the operator; tests replace the message boxes.
struct DialogPrompts {
  std::function<void(QWidget* parent, const QString& title, const QString& text)> error;
  // true for Yes.
  std::function<bool(QWidget* parent, const QString& title, const QString& text)> question;
  // A Yes/No question in an error box, and a plain message; when left empty, `question` and
  // `error` stand in.
  std::function<bool(QWidget* parent, const QString& title, const QString& text)> errorQuestion;
  std::function<void(QWidget* parent, const QString& title, const QString& text)> information;

  bool askInErrorBox(QWidget* parent, const QString& title, const QString& text) const;
  void inform(QWidget* parent, const QString& title, const QString& text) const;

  static DialogPrompts messageBoxes();
};

// Where the parameter dialogs reopen: the view and tab last shown, for the life of the process.
struct DialogMemory {
  int pageView = 1;          // 1 General, 2 Portrait, 3 Landscape (the set indexes)
  int paramSelPageView = 1;  // the same for the page flags of the selection dialog
  int pageTab = 0;
  int paragraphTab = 0;
  int fontTab = 0;
  int paramSelTab = 0;        // shared with the configuration dialog's outer tabs
  int configureTab = 0;       // the configuration dialog's tabs when OK was last pressed
  int configureInnerTab = 0;  // the inner tab of "Conversion Options"
};
DialogMemory& dialogMemory();

// "OK", "Cancel" and "&Help" for a dialog; OK calls `ok`, Cancel rejects, Help opens `topic`.
QDialogButtonBox* okCancelHelpButtons(QDialog* dialog, const HelpFn& help, const std::string& topic,
                                      std::function<void()> ok);

// The first of the fields whose text is no number, as a message naming its caption and text, so
// that what was typed is neither stored as 0 nor lost. Callers pass the fields that OK takes.
std::optional<QString> unreadableField(
    const std::vector<std::pair<QString, const NumericEdit*>>& fields);

// Runs the writes of an OK; when the file refuses them, tells the operator what was not saved and
// returns false so that the dialog stays open.
bool saveOrReport(QWidget* parent, const DialogPrompts& prompts, const QString& what,
                  const std::function<void()>& save);

// The caption without its "&" accelerator marks and trailing colons.
QString plainCaption(QString caption);

// The "General", "Portrait", "Landscape" tool bar of the page views; a button calls onView with
// its view (1 to 3). Fills buttons and label with the tool bar's parts.
QToolBar* viewToolBar(QWidget* parent, QToolButton* (&buttons)[3], QLabel*& label,
                      const std::function<void(int view)>& onView);

}  // namespace kelvara::config::ui
