#include "platform/RegistryStore.h"

#include <algorithm>

namespace tarnwick {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool SameTextNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool TNoCaseLess::operator()(const std::string& a, const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(LowerAscii(x)) < static_cast<unsigned char>(LowerAscii(y));
  });
}

TRegistryValue* TRegistryKey::Find(const std::string& name) {
  auto it = std::find_if(values.begin(), values.end(), [&](const TRegistryValue& v) { return SameTextNoCase(v.name, name); });
  return it == values.end() ? nullptr : &*it;
}

const TRegistryValue* TRegistryKey::Find(const std::string& name) const {
  return const_cast<TRegistryKey*>(this)->Find(name);
}

std::string TRegistryStore::NormalKeyPath(const std::string& keyPath) {
  std::string path = keyPath;
  while (!path.empty() && path.front() == '\\') path.erase(path.begin());
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

bool TRegistryStore::KeyExists(const std::string& keyPath) {
  const TRegistryTree& tree = LoadTree();
  return tree.count(NormalKeyPath(keyPath)) != 0;
}

bool TRegistryStore::OpenKey(const std::string& keyPath, bool canCreate) {
  TRegistryTree& tree = LoadTree();
  std::string path = NormalKeyPath(keyPath);
  bool created = false;
  if (tree.count(path) == 0) {
    if (!canCreate) return false;
    tree[path];
    created = true;
  }
  tree_ = &tree;
  currentPath_ = path;
  changed_ = created;
  firstChanged_.clear();
  return true;
}

void TRegistryStore::CloseKey() {
  if (tree_ == nullptr) return;
  TRegistryTree* tree = tree_;
  tree_ = nullptr;
  if (changed_) CommitTree(*tree, firstChanged_.empty() ? currentPath_ : firstChanged_);
}

TRegistryKey& TRegistryStore::CurrentKey() const {
  if (tree_ == nullptr) throw std::logic_error("registry: no key is open");
  return (*tree_)[currentPath_];
}

bool TRegistryStore::ValueExists(const std::string& name) const { return CurrentKey().Find(name) != nullptr; }

TRegDataType TRegistryStore::GetDataType(const std::string& name) const {
  const TRegistryValue* value = CurrentKey().Find(name);
  if (value == nullptr) return TRegDataType::rdUnknown;
  return std::holds_alternative<std::int32_t>(value->data) ? TRegDataType::rdInteger : TRegDataType::rdString;
}

std::int32_t TRegistryStore::ReadInteger(const std::string& name) const {
  const TRegistryValue* value = CurrentKey().Find(name);
  if (value == nullptr) throw ERegistryException("Failed to get data for '" + name + "'");
  if (!std::holds_alternative<std::int32_t>(value->data))
    throw ERegistryException("Invalid data type for '" + name + "'");
  return std::get<std::int32_t>(value->data);
}

std::string TRegistryStore::ReadString(const std::string& name) const {
  const TRegistryValue* value = CurrentKey().Find(name);
  if (value == nullptr) return {};
  if (!std::holds_alternative<std::string>(value->data))
    throw ERegistryException("Invalid data type for '" + name + "'");
  return std::get<std::string>(value->data);
}

void TRegistryStore::Changing(const std::string& name) {
  BeforeChange(name);
  if (firstChanged_.empty()) firstChanged_ = name;
  changed_ = true;
}

void TRegistryStore::Write(const std::string& name, std::variant<std::int32_t, std::string> data) {
  TRegistryKey& key = CurrentKey();
  Changing(name);
  if (TRegistryValue* value = key.Find(name))
    value->data = std::move(data);
  else
    key.values.push_back({name, std::move(data)});
}

void TRegistryStore::WriteInteger(const std::string& name, std::int32_t value) { Write(name, value); }

// A registry text ends at its first NUL.
void TRegistryStore::WriteString(const std::string& name, const std::string& value) {
  Write(name, value.substr(0, value.find('\0')));
}

bool TRegistryStore::DeleteValue(const std::string& name) {
  TRegistryKey& key = CurrentKey();
  TRegistryValue* value = key.Find(name);
  if (value == nullptr) return false;
  Changing(name);
  key.values.erase(key.values.begin() + (value - key.values.data()));
  return true;
}

}  // namespace tarnwick
