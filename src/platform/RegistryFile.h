#pragma once

#include <string>

#include "platform/RegistryStore.h"

namespace tarnwick {

// The user's store: one text file, replaced atomically with mode 0600 (it holds passwords in
// plain text). Each operation reads the file afresh, so two running copies share it and the
// one that writes last wins. A damaged file (lines that cannot be read, or a file that cannot
// be read at all) is kept aside as "<file>.bad" before anything is written, and what could be
// read is written back at once.
class TRegistryFile : public TRegistryStore {
 public:
  explicit TRegistryFile(std::string path);

  // $XDG_CONFIG_HOME/tarnwick/registry.reg, with ~/.config when the variable is unset.
  static std::string DefaultPath();

  const std::string& Path() const { return path_; }
  std::string TakeDamageNotice() override;

 protected:
  TRegistryTree& LoadTree() override;
  void CommitTree(const TRegistryTree& tree, const std::string& firstChanged) override;

 private:
  void KeepDamagedFileAside(const std::string& why);
  void Store(const TRegistryTree& tree);

  std::string path_;
  TRegistryTree tree_;
  std::string damageNotice_;
  bool damageReported_ = false;
  // Set when a damaged file could not be moved aside: writing would destroy it.
  std::string writeRefusal_;
};

}  // namespace tarnwick
