#pragma once

#include <QString>
#include <QUrl>

class QWidget;

namespace kelvara::window {

// The modal boxes, file choosers and desktop hand-offs of the main window, behind one seam so
// tests answer them without a person.
class WindowDialogs {
 public:
  virtual ~WindowDialogs() = default;

  virtual void message(QWidget* parent, const QString& text) = 0;
  virtual void error(QWidget* parent, const QString& text, const QString& title) = 0;
  // True for Yes.
  virtual bool askYesNo(QWidget* parent, const QString& text, const QString& title) = 0;
  // The chosen file's full name, or empty when cancelled.
  virtual QString openFileName(QWidget* parent, const QString& title, const QString& folder,
                               const QString& filter, const QString& proposed, bool mustExist) = 0;
  virtual QString saveFileName(QWidget* parent, const QString& title, const QString& folder,
                               const QString& filter, const QString& proposed) = 0;
  // Opens a file, folder or page in the desktop's default application; false when none could.
  virtual bool openUrl(const QUrl& url) = 0;
};

// The real ones: QMessageBox, QFileDialog and QDesktopServices.
class SystemDialogs : public WindowDialogs {
 public:
  void message(QWidget* parent, const QString& text) override;
  void error(QWidget* parent, const QString& text, const QString& title) override;
  bool askYesNo(QWidget* parent, const QString& text, const QString& title) override;
  QString openFileName(QWidget* parent, const QString& title, const QString& folder,
                       const QString& filter, const QString& proposed, bool mustExist) override;
  QString saveFileName(QWidget* parent, const QString& title, const QString& folder,
                       const QString& filter, const QString& proposed) override;
  bool openUrl(const QUrl& url) override;
};

}  // namespace kelvara::window
