#pragma once

#include "platform/MetadataPlatform.h"

namespace kelvara::metadata {

// Whether this process may change what the security options change: owners and permissions of
// files it does not own. Root has these capabilities; so has a process granted them.
bool IsUserAdministrator(platform::MetadataPlatform& platform);

}  // namespace kelvara::metadata
