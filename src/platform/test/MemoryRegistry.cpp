#include "platform/test/MemoryRegistry.h"

namespace tarnwick {

void TMemoryRegistry::BeforeChange(const std::string& name) {
  if (!refuseFrom.empty() && SameTextNoCase(name, refuseFrom)) refusing_ = true;
  if (refusing_) throw ERegistryException("Failed to set data for '" + name + "'");
  changes.push_back(name);
}

}  // namespace tarnwick
