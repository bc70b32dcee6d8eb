#pragma once

#include <string>

namespace kelvara::platform {

// Folder of Kelva.ini: $KELVARA_CONFIG_DIR, else $XDG_CONFIG_HOME/kelvara, else ~/.config/kelvara.
std::string configDir();
// Program state (office profiles): $XDG_STATE_HOME/kelvara, else ~/.local/state/kelvara.
std::string stateDir();
// Short-lived files (locks, sockets): $XDG_RUNTIME_DIR/kelvara, else the state folder.
std::string runtimeDir();
// Makes the folder and its parents (mode 0700 for new ones); false when it cannot.
bool ensureDir(const std::string& path);

}  // namespace kelvara::platform
