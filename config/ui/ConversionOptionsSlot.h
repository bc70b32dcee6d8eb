#pragma once

#include <functional>
#include <string>

#include "config/ui/SettingsPage.h"
#include "platform/Locale.h"

class QTabWidget;

namespace kelvara::config::ui {

// What the configuration dialog asks of its "Conversion Options" tab, so that the dialog does
// not depend on how the tab is built.
struct ConversionOptionsSlot {
  SettingsPage* page = nullptr;
  // The "Diff. Parms.Vert./Horiz Pag." box as it stands, and setting it after the parameter
  // selection cleared it.
  std::function<bool()> diffVertHorizPagParms;
  std::function<void(bool)> setDiffVertHorizPagParms;
  std::function<int()> currentInnerTab;
  std::function<void(int)> setCurrentInnerTab;
  // The security page: shown only when both paths keep security.
  std::function<void(bool available, bool administrator)> setSecurityAvailable;
  std::function<bool()> securityShown;
};

ConversionOptionsSlot makeConversionOptionsTab(const std::string& wordVersion,
                                               const platform::Locale& locale, QWidget* parent);

}  // namespace kelvara::config::ui
