#include "config/ui/DialogSupport.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include "config/IniFile.h"
#include "config/ui/NumericEdit.h"

namespace kelvara::config::ui {

DialogPrompts DialogPrompts::messageBoxes() {
  DialogPrompts p;
  p.error = [](QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::critical(parent, title, text);
  };
  p.question = [](QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::warning(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
  };
  p.errorQuestion = [](QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::critical(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
  };
  p.information = [](QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text);
  };
  return p;
}

bool DialogPrompts::askInErrorBox(QWidget* parent, const QString& title,
                                  const QString& text) const {
  return errorQuestion ? errorQuestion(parent, title, text) : question(parent, title, text);
}

void DialogPrompts::inform(QWidget* parent, const QString& title, const QString& text) const {
  if (information) {
    information(parent, title, text);
  } else {
    error(parent, title, text);
  }
}

DialogMemory& dialogMemory() {
  static DialogMemory memory;
  return memory;
}

QDialogButtonBox* okCancelHelpButtons(QDialog* dialog, const HelpFn& help, const std::string& topic,
                                      std::function<void()> ok) {
  auto* box = new QDialogButtonBox(dialog);
  QPushButton* okBtn = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  okBtn->setObjectName("OkBtn");
  okBtn->setDefault(true);
  QPushButton* cancelBtn = box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  cancelBtn->setObjectName("CancelBtn");
  QPushButton* helpBtn = box->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
  helpBtn->setObjectName("HelpBtn");
  QObject::connect(box, &QDialogButtonBox::accepted, dialog, std::move(ok));
  QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  QObject::connect(box, &QDialogButtonBox::helpRequested, dialog, [help, topic] {
    if (help) {
      help(topic);
    }
  });
  return box;
}

QString plainCaption(QString caption) {
  caption.remove('&');
  while (caption.endsWith(':')) {
    caption.chop(1);
  }
  return caption.trimmed();
}

std::optional<QString> unreadableField(
    const std::vector<std::pair<QString, const NumericEdit*>>& fields) {
  for (const auto& [caption, edit] : fields) {
    if (edit->isUnreadable()) {
      return QStringLiteral("%1: \"%2\" is not a number.")
          .arg(plainCaption(caption), QString::fromStdString(edit->model().text()));
    }
  }
  return std::nullopt;
}

bool saveOrReport(QWidget* parent, const DialogPrompts& prompts, const QString& what,
                  const std::function<void()>& save) {
  try {
    save();
    return true;
  } catch (const IniWriteError& e) {
    prompts.error(
        parent, QStringLiteral("Error"),
        QStringLiteral("%1\r\n\r\nThe %2 were not all saved: the keys from the failed one "
                       "on keep their old values in the file. Press OK to try again, or "
                       "Cancel.")
            .arg(QString::fromStdString(e.what()), what));
    return false;
  }
}

QToolBar* viewToolBar(QWidget* parent, QToolButton* (&buttons)[3], QLabel*& label,
                      const std::function<void(int view)>& onView) {
  auto* toolBar = new QToolBar(parent);
  toolBar->setObjectName("ViewToolBar");
  const char* viewNames[3] = {"General", "Portrait", "Landscape"};
  for (int i = 0; i < 3; ++i) {
    auto* b = new QToolButton(toolBar);
    b->setText(viewNames[i]);
    b->setObjectName(QString(viewNames[i]) + "Btn");
    b->setAutoRaise(true);
    QObject::connect(b, &QToolButton::clicked, toolBar, [onView, i] { onView(i + 1); });
    toolBar->addWidget(b);
    buttons[i] = b;
  }
  toolBar->addSeparator();
  label = new QLabel(toolBar);
  label->setObjectName("ViewLbl");
  toolBar->addWidget(label);
  return toolBar;
}

}  // namespace kelvara::config::ui
