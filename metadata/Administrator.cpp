#include "metadata/Administrator.h"

namespace kelvara::metadata {

bool IsUserAdministrator(platform::MetadataPlatform& platform) {
  return platform.capabilityEffective(platform::Capability::Chown) &&
         platform.capabilityEffective(platform::Capability::BypassPermissions);
}

}  // namespace kelvara::metadata
