#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tarnwick {

class ERegistryException : public std::runtime_error {
 public:
  // reason says why the store refused, for the detail line of an error box; the message
  // itself is the short text users know.
  ERegistryException(const std::string& message, std::string reason = {})
      : std::runtime_error(message), reason_(std::move(reason)) {}
  const std::string& Reason() const { return reason_; }

 private:
  std::string reason_;
};

enum class TRegDataType { rdUnknown, rdString, rdInteger };

// Names of keys and values compare without regard to ASCII letter case, as in a registry,
// but keep the case they were first written with.
bool SameTextNoCase(std::string_view a, std::string_view b);

struct TNoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct TRegistryValue {
  std::string name;
  std::variant<std::int32_t, std::string> data;
};

// One key: its values in the order they were first written, so a stored file reads in the
// order the program writes it.
struct TRegistryKey {
  std::vector<TRegistryValue> values;

  TRegistryValue* Find(const std::string& name);
  const TRegistryValue* Find(const std::string& name) const;
};

// Keys by their full path below the user's root, such as "Software\Pellmoor Software\Tarnwick".
using TRegistryTree = std::map<std::string, TRegistryKey, TNoCaseLess>;

// A per-user store of typed named values grouped in keys, used like a registry: open one key,
// read and write its values, close it. Subclasses say where the tree lives; changes made while
// a key is open are handed to Commit when it is closed.
class TRegistryStore {
 public:
  virtual ~TRegistryStore() = default;

  bool KeyExists(const std::string& keyPath);
  // False when the key does not exist and canCreate is false.
  bool OpenKey(const std::string& keyPath, bool canCreate);
  // Commits the changes made since OpenKey; raises ERegistryException when they cannot be kept.
  void CloseKey();

  bool ValueExists(const std::string& name) const;
  TRegDataType GetDataType(const std::string& name) const;
  std::int32_t ReadInteger(const std::string& name) const;
  // A missing value reads as empty text.
  std::string ReadString(const std::string& name) const;
  void WriteInteger(const std::string& name, std::int32_t value);
  void WriteString(const std::string& name, const std::string& value);
  bool DeleteValue(const std::string& name);

  // A text for the user when reading the store found damage and repaired it (empty when not).
  virtual std::string TakeDamageNotice() { return {}; }

 protected:
  // The tree as it stands now, read afresh for each operation.
  virtual TRegistryTree& LoadTree() = 0;
  // Keeps the tree; firstChanged names the first value changed since the key was opened (the
  // key itself when it was only created), for the error raised when the tree cannot be kept.
  virtual void CommitTree(const TRegistryTree& tree, const std::string& firstChanged) = 0;
  // Called before every change to a value; may refuse it by raising ERegistryException.
  virtual void BeforeChange(const std::string& name) { (void)name; }

 private:
  static std::string NormalKeyPath(const std::string& keyPath);
  TRegistryKey& CurrentKey() const;
  void Changing(const std::string& name);
  void Write(const std::string& name, std::variant<std::int32_t, std::string> data);

  TRegistryTree* tree_ = nullptr;
  std::string currentPath_;
  bool changed_ = false;
  std::string firstChanged_;
};

}  // namespace tarnwick
