// Draws every parameter dialog, tab and view into KELVARA_SCREENSHOT_DIR for a person to look
// at; without that folder there is nothing to do.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTabWidget>
#include <cstdlib>

#include "DialogFixture.h"
#include "config/ui/ConfigureDialog.h"
#include "config/ui/ConversionOptionsTab.h"
#include "config/ui/FontSetupDialog.h"
#include "config/ui/PageSetupDialog.h"
#include "config/ui/ParagraphSetupDialog.h"
#include "config/ui/ParamSelDialog.h"
#include "format/MeasurementUnits.h"

namespace kelvara::config::ui {
namespace {

using testing::screenshot;

void eachTab(QDialog& dlg, const char* tabsName, const std::string& prefix) {
  auto* tabs = testing::child<QTabWidget>(&dlg, tabsName);
  for (int i = 0; i < tabs->count(); ++i) {
    if (!tabs->isTabVisible(i)) {
      continue;
    }
    tabs->setCurrentIndex(i);
    QApplication::processEvents();
    screenshot(&dlg, prefix + "-tab" + std::to_string(i));
  }
}

TEST(DialogScreenshots, EveryDialogTabAndView) {
  if (std::getenv("KELVARA_SCREENSHOT_DIR") == nullptr) {
    GTEST_SKIP() << "KELVARA_SCREENSHOT_DIR is not set";
  }
  testing::IniFixture f;
  format::FormatParameterSet params;
  params.Portrait.PaperSize = 41;
  Settings settings;
  settings.MeasurementUnits = format::kCentimetres;
  {
    bool diff = true;
    dialogMemory() = DialogMemory{};
    ParamSelDialog dlg(params, f.ini, "11.0", diff, {});
    dlg.show();
    for (int view = 1; view <= 3; ++view) {
      dlg.showPageView(view);
      QApplication::processEvents();
      screenshot(&dlg, "paramsel-view" + std::to_string(view));
    }
    eachTab(dlg, "ParamTabs", "paramsel");
  }
  {
    bool diff = false;
    ParamSelDialog dlg(params, f.ini, "9.0", diff, {});
    dlg.show();
    QApplication::processEvents();
    screenshot(&dlg, "paramsel-oneview");
  }
  for (bool diff : {true, false}) {
    settings.DiffVertHorizPagParms = diff;
    for (int view = 1; view <= (diff ? 3 : 1); ++view) {
      dialogMemory() = DialogMemory{};
      dialogMemory().pageView = view;
      PageSetupDialog dlg(params, settings, f.ini, platform::Locale{}, {});
      dlg.show();
      eachTab(dlg, "PageTabs",
              diff ? "page-view" + std::to_string(view) : std::string("page-oneview"));
    }
  }
  {
    ParagraphSetupDialog dlg(params, settings, f.ini, platform::Locale{}, {});
    dlg.show();
    eachTab(dlg, "ParagraphTabs", "paragraph");
  }
  {
    FontSetupDialog dlg(params, f.ini, {"Courier New", "DejaVu Sans", "Liberation Serif"},
                        platform::Locale{}, {});
    dlg.show();
    eachTab(dlg, "FontTabs", "font");
  }
}

TEST(DialogScreenshots, ConfigureDialogEveryTab) {
  if (std::getenv("KELVARA_SCREENSHOT_DIR") == nullptr) {
    GTEST_SKIP() << "KELVARA_SCREENSHOT_DIR is not set";
  }
  testing::IniFixture f;
  format::FormatParameterSet params;
  Settings settings;
  settings.ExternalConverterProgram = "/usr/bin/kelvara-wsconv";
  settings.WordsCountProgram = "/usr/bin/kelvara-wc";
  settings.LinesCountCheck = false;
  settings.UserName = "Ada Lovelace";
  dialogMemory() = DialogMemory{};
  for (bool security : {false, true}) {
    ConfigureContext context;
    context.settings = &settings;
    context.formats = &params;
    context.ini = &f.ini;
    context.wordVersion = "11.0";
    context.securityAvailable = security;
    context.administrator = true;
    ConfigureDialog dlg(std::move(context));
    dlg.show();
    const std::string prefix = security ? "configure-security" : "configure";
    for (int i = 0; i < dlg.tabs()->count(); ++i) {
      dlg.tabs()->setCurrentIndex(i);
      QApplication::processEvents();
      screenshot(&dlg, prefix + "-tab" + std::to_string(i));
    }
    dlg.tabs()->setCurrentIndex(1);
    for (int inner = 0; inner < 7; ++inner) {
      dlg.conversionOptions()->setCurrentInnerTab(inner);
      QApplication::processEvents();
      screenshot(&dlg, prefix + "-conversion" + std::to_string(inner));
    }
  }
}

}  // namespace
}  // namespace kelvara::config::ui
