#pragma once

#include <string>

#include "config/Settings.h"

namespace kelvara::config {

// The configuration dialog's own rules, beside those of its pages.

// Its outer tabs and the inner tabs of "Conversion Options", in order.
enum class ConfigureTab {
  ProgramOptions = 0,
  ConversionOptions = 1,
  ExternalPrograms = 2,
  UserData = 3
};
enum class ConversionTab { General = 0, Dates, Attributes, Security, Filters, VersionCtrl, Log };

// The help page of the tab shown: "Configuration.html" with the anchor of the outer tab, or of
// the inner tab while "Conversion Options" is shown. Indexes out of range give the bare page.
std::string ConfigureHelpTopic(int outerTab, int innerTab);

// Whether the main window's lamps are lit after the options changed: Date unless the outputs keep
// the conversion's time, Attrib unless attributes are copied, Perm when any security option is on.
struct LampStates {
  bool date = false;
  bool attrib = false;
  bool perm = false;
};
LampStates LampsFromSettings(const Settings& settings);

// The dialog always opens on "None" for version control: a later true value of the two others
// then wins when the radio buttons are set in order.
void PrepareConfigureOpening(Settings& settings);

}  // namespace kelvara::config
