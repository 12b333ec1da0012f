#pragma once

#include <string>
#include <vector>

#include "platform/RegistryStore.h"

namespace tarnwick {

// A store in memory that records every change in order and can refuse changes from a
// given value on, as a registry refuses a write.
class TMemoryRegistry : public TRegistryStore {
 public:
  TRegistryTree tree;
  std::vector<std::string> changes;  // value names in the order they were written or deleted
  std::string refuseFrom;            // the first value whose change is refused; empty for none

 protected:
  TRegistryTree& LoadTree() override { return tree; }
  void CommitTree(const TRegistryTree&, const std::string&) override {}
  void BeforeChange(const std::string& name) override;

 private:
  bool refusing_ = false;
};

}  // namespace tarnwick
