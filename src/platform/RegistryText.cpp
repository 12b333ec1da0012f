#include "platform/RegistryText.h"

#include <cstdio>
#include <optional>

namespace tarnwick {

namespace {

constexpr std::string_view kRootPrefix = "HKEY_CURRENT_USER\\";
constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kUnicodeHeader = "Windows Registry Editor Version 5.00";

void AppendQuoted(std::string& out, const std::string& text) {
  out += '"';
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  out += '"';
}

// Reads a quoted text at the front of line and removes it from line.
std::optional<std::string> TakeQuoted(std::string_view& line) {
  if (line.empty() || line.front() != '"') return std::nullopt;
  std::string text;
  for (std::size_t i = 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') {
      line.remove_prefix(i + 1);
      return text;
    }
    if (c == '\0') return std::nullopt;
    if (c != '\\') {
      text += c;
      continue;
    }
    if (++i == line.size()) return std::nullopt;
    switch (line[i]) {
      case '\\': text += '\\'; break;
      case '"': text += '"'; break;
      case 'r': text += '\r'; break;
      case 'n': text += '\n'; break;
      default: return std::nullopt;
    }
  }
  return std::nullopt;
}

std::optional<std::int32_t> ParseDword(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::string> ParseKeyLine(std::string_view line) {
  if (line.size() < 2 || line.back() != ']') return std::nullopt;
  std::string_view path = line.substr(1, line.size() - 2);
  if (!SameTextNoCase(path.substr(0, kRootPrefix.size()), kRootPrefix)) return std::nullopt;
  path.remove_prefix(kRootPrefix.size());
  if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
  return std::string(path);
}

std::optional<TRegistryValue> ParseValueLine(std::string_view line) {
  std::optional<std::string> name = TakeQuoted(line);
  if (!name || name->empty() || line.empty() || line.front() != '=') return std::nullopt;
  line.remove_prefix(1);
  if (line.substr(0, 6) == "dword:") {
    std::optional<std::int32_t> number = ParseDword(line.substr(6));
    if (!number) return std::nullopt;
    return TRegistryValue{*name, *number};
  }
  std::optional<std::string> text = TakeQuoted(line);
  if (!text || !line.empty()) return std::nullopt;
  return TRegistryValue{*name, *text};
}

std::string_view TrimLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  return line;
}

}  // namespace

std::string FormatRegistryText(const TRegistryTree& tree) {
  std::string out(kHeader);
  out += '\n';
  char number[16];
  for (const auto& [path, key] : tree) {
    out += "\n[";
    out += kRootPrefix;
    out += path;
    out += "]\n";
    for (const TRegistryValue& value : key.values) {
      AppendQuoted(out, value.name);
      out += '=';
      if (const auto* integer = std::get_if<std::int32_t>(&value.data)) {
        std::snprintf(number, sizeof number, "dword:%08x", static_cast<std::uint32_t>(*integer));
        out += number;
      } else {
        AppendQuoted(out, std::get<std::string>(value.data));
      }
      out += '\n';
    }
  }
  return out;
}

TParsedRegistryText ParseRegistryText(std::string_view text) {
  TParsedRegistryText result;
  TRegistryKey* key = nullptr;
  int lineNumber = 0;
  auto bad = [&] {
    ++result.badLines;
    if (result.firstBadLine == 0) result.firstBadLine = lineNumber;
  };
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = TrimLine(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (line.empty() || line.front() == ';' || line == kHeader || line == kUnicodeHeader) continue;
    if (line.front() == '[') {
      std::optional<std::string> path = ParseKeyLine(line);
      key = path ? &result.tree[*path] : nullptr;
      if (!path) bad();
      continue;
    }
    std::optional<TRegistryValue> value = ParseValueLine(line);
    if (!value || key == nullptr) {
      bad();
      continue;
    }
    if (TRegistryValue* same = key->Find(value->name))
      same->data = std::move(value->data);
    else
      key->values.push_back(std::move(*value));
  }
  return result;
}

}  // namespace tarnwick

