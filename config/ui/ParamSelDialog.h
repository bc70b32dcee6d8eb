#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "config/IniFile.h"
#include "config/ui/DialogSupport.h"
#include "format/FormatParameterSet.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace kelvara::config::ui {

// "Parameters Selection": the enable flags of every formatting group. Works on a copy of the
// flags; OK writes them all and hands them back, Cancel changes nothing.
class ParamSelDialog : public QDialog {
  Q_OBJECT

 public:
  // diffVertHorizPagParms is the configuration dialog's "Diff. Parms.Vert./Horiz Pag." box; the
  // orientation warning may clear it.
  ParamSelDialog(format::FormatParameterSet& params, IniFile& ini, std::string wordVersion,
                 bool& diffVertHorizPagParms, HelpFn help, QWidget* parent = nullptr);

  void setPrompts(DialogPrompts prompts) { prompts_ = std::move(prompts); }
  // 1 General, 2 Portrait, 3 Landscape; with the tool bar hidden the one view is General.
  int pageView() const { return view_; }
  void showPageView(int setIndex);
  bool toolBarShown() const { return diff_; }

  static const std::vector<QString>& pageItemNames();

 private:
  void ok();
  void fillPageList();
  void storePageView();
  void pageItemChanged(QListWidgetItem* item);
  void fontItemChanged(QListWidgetItem* item);
  QListWidget* addFlagTab(const QString& title, const std::vector<QString>& names,
                          const std::vector<bool*>& flags);
  void hideToolBar();

  format::FormatParameterSet& params_;
  format::FormatParameterSet edit_;
  IniFile& ini_;
  std::string wordVersion_;
  bool& diffOut_;
  bool diff_;
  int view_ = 1;
  DialogPrompts prompts_ = DialogPrompts::messageBoxes();
  QTabWidget* tabs_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QToolButton* viewButtons_[3] = {};
  QLabel* viewLabel_ = nullptr;
  QListWidget* pageList_ = nullptr;
  QListWidget* fontList_ = nullptr;
  std::vector<QListWidget*> flagLists_;
  std::vector<std::vector<bool*>> flagTargets_;
};

bool runParamSelDialog(QWidget* parent, format::FormatParameterSet& params, IniFile& ini,
                       const std::string& wordVersion, bool& diffVertHorizPagParms,
                       const HelpFn& help);

}  // namespace kelvara::config::ui
