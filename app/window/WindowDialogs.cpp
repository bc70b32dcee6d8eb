#include "app/window/WindowDialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "config/LoadNotice.h"

namespace kelvara::window {
namespace {

// The system's texts end lines with "\r\n"; a message box wants "\n".
QString boxText(const QString& text) {
  QString out = text;
  out.replace("\r\n", "\n");
  out.replace('\r', '\n');
  return out;
}

}  // namespace

void SystemDialogs::message(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, config::kApplicationTitle, boxText(text));
}

void SystemDialogs::error(QWidget* parent, const QString& text, const QString& title) {
  QMessageBox::critical(parent, title.isEmpty() ? QString(config::kApplicationTitle) : title,
                        boxText(text));
}

bool SystemDialogs::askYesNo(QWidget* parent, const QString& text, const QString& title) {
  return QMessageBox::question(parent, title.isEmpty() ? QString(config::kApplicationTitle) : title,
                               boxText(text), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

QString SystemDialogs::openFileName(QWidget* parent, const QString& title, const QString& folder,
                                    const QString& filter, const QString& proposed,
                                    bool mustExist) {
  QFileDialog dialog(parent, title, folder, filter);
  dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.selectFile(proposed);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return QString();
  }
  return dialog.selectedFiles().first();
}

QString SystemDialogs::saveFileName(QWidget* parent, const QString& title, const QString& folder,
                                    const QString& filter, const QString& proposed) {
  QFileDialog dialog(parent, title, folder, filter);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The name only proposes where the outputs go; nothing is written over here.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.selectFile(proposed);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return QString();
  }
  return dialog.selectedFiles().first();
}

bool SystemDialogs::openUrl(const QUrl& url) {
  return QDesktopServices::openUrl(url);
}

}  // namespace kelvara::window
