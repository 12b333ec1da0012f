#include "settings/RegistrySettings.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <variant>

namespace tarnwick {

const char* const kSettingsKey = "\\Software\\Pellmoor Software\\Tarnwick";
const char* const kDefaultTemplateName = "DefaultTemplate.txt";

namespace {

using TStoredValue = std::variant<std::int32_t, std::string>;

struct TSettingValue {
  std::string name;
  std::variant<bool*, std::int32_t*, std::string*> field;
  // Empty when the value is left unwritten.
  std::function<std::optional<TStoredValue>()> defaultValue;
};

const char* const kObsoleteValues[] = {"VisGutter", "TabsOnTop", "SynHighlight"};

std::function<std::optional<TStoredValue>()> Fixed(TStoredValue value) {
  return [value] { return std::optional<TStoredValue>(value); };
}

// The stored values in the order they are read, each bound to its field of settings.
std::vector<TSettingValue> SettingValues(TSettings& s, const TSettingsEnvironment& env) {
  auto window = [&env](std::int32_t TWindowBounds::*edge) {
    return [&env, edge] { return std::optional<TStoredValue>(env.windowBounds().*edge); };
  };
  std::vector<TSettingValue> values = {
      {"AutoIndent", &s.AutoIndent, Fixed(1)},
      {"SmartTabs", &s.SmartTabs, Fixed(0)},
      {"UseTabChar", &s.UseTabChar, Fixed(0)},
      {"VisRightMar", &s.VisRightMar, Fixed(1)},
      {"RightMarWidth", &s.RightMarWidth, Fixed(80)},
      {"TabWidth", &s.TabWidth, Fixed(2)},
      {"StartupTemplate", &s.StartupTemplate,
       [&env]() -> std::optional<TStoredValue> {
         std::string path = env.system.ProgramFolder() + kDefaultTemplateName;
         std::error_code ignored;
         if (!std::filesystem::is_regular_file(path, ignored)) return std::nullopt;
         return path;
       }},
      {"Font", &s.Font, [&env] { return std::optional<TStoredValue>(DefaultEditorFont(env.system)); }},
      {"FontSize", &s.FontSize, Fixed(10)},
      {"UploadOnSave", &s.UploadOnSave, Fixed(0)},
      {"WrapPrinting", &s.WrapPrinting, Fixed(1)},
      {"NewPageStartup", &s.NewPageStartup, Fixed(1)},
      {"FTPKeepAlive", &s.FTPKeepAlive, Fixed(1)},
      {"RetainSize", &s.RetainSize, Fixed(1)},
      {"WindowLeft", &s.WindowLeft, window(&TWindowBounds::left)},
      {"WindowTop", &s.WindowTop, window(&TWindowBounds::top)},
      {"WindowWidth", &s.WindowWidth, window(&TWindowBounds::width)},
      {"WindowHeight", &s.WindowHeight, window(&TWindowBounds::height)},
      {"WindowMaximized", &s.WindowMaximized, Fixed(1)},
      {"HalfPageScroll", &s.HalfPageScroll, Fixed(0)},
  };
  auto family = [&values](const char* name, auto& slots, auto first, auto rest) {
    for (std::size_t n = 0; n < slots.size(); ++n)
      values.push_back({name + std::to_string(n + 1), &slots[n], Fixed(n == 0 ? first : rest)});
  };
  family("Port", s.Port, 21, 21);
  family("Username", s.Username, "", "");
  family("Password", s.Password, "", "");
  // The root of the file system is this platform's counterpart of a first drive.
  family("LocalFolder", s.LocalFolder, "/", "");
  family("HostAddress", s.HostAddress, "", "");
  family("DestinationFolder", s.DestinationFolder, "/", "");
  family("File", s.File, "", "");
  return values;
}

// Runs body with the settings key open and closes it afterwards, also when body fails, so
// that what was written before a refusal is kept.
template <class TBody>
void WithSettingsKey(TRegistryStore& store, TBody&& body) {
  store.OpenKey(kSettingsKey, true);
  try {
    body();
  } catch (...) {
    try {
      store.CloseKey();
    } catch (const ERegistryException&) {
      // The first refusal is the one to report.
    }
    throw;
  }
  store.CloseKey();
}

void WriteStored(TRegistryStore& store, const std::string& name, const TStoredValue& value) {
  if (const auto* integer = std::get_if<std::int32_t>(&value))
    store.WriteInteger(name, *integer);
  else
    store.WriteString(name, std::get<std::string>(value));
}

void AssignDefault(const TSettingValue& value) {
  std::optional<TStoredValue> stored = value.defaultValue();
  std::visit(
      [&](auto* field) {
        using TField = std::remove_pointer_t<decltype(field)>;
        if constexpr (std::is_same_v<TField, std::string>)
          *field = stored ? std::get<std::string>(*stored) : std::string();
        else
          *field = static_cast<TField>(stored ? std::get<std::int32_t>(*stored) : 0);
      },
      value.field);
}

void ReadInto(const TRegistryStore& store, const TSettingValue& value) {
  std::visit(
      [&](auto* field) {
        using TField = std::remove_pointer_t<decltype(field)>;
        if constexpr (std::is_same_v<TField, std::string>)
          *field = store.ReadString(value.name);
        else if constexpr (std::is_same_v<TField, bool>)
          *field = store.ReadInteger(value.name) != 0;
        else
          *field = store.ReadInteger(value.name);
      },
      value.field);
}

TStoredValue StoredFormOf(const TSettingValue& value) {
  return std::visit(
      [](auto* field) -> TStoredValue {
        using TField = std::remove_pointer_t<decltype(field)>;
        if constexpr (std::is_same_v<TField, std::string>)
          return *field;
        else
          return static_cast<std::int32_t>(*field);
      },
      value.field);
}

bool IsGeometry(const std::string& name) {
  return name == "WindowLeft" || name == "WindowTop" || name == "WindowWidth" || name == "WindowHeight";
}

}  // namespace

std::string DefaultEditorFont(const TSystemServices& system) {
  std::vector<std::string> installed = system.InstalledFonts();
  for (const char* name : {"Courier New", "Arial", "Tahoma", "Liberation Mono", "DejaVu Sans Mono"}) {
    if (std::any_of(installed.begin(), installed.end(),
                    [name](const std::string& font) { return SameTextNoCase(font, name); }))
      return name;
  }
  return system.SystemFixedFont();
}

void EnsureSettingDefaults(TRegistryStore& store, const TSettingsEnvironment& env) {
  TSettings unused;
  WithSettingsKey(store, [&] {
    for (const TSettingValue& value : SettingValues(unused, env)) {
      if (store.ValueExists(value.name)) continue;
      if (std::optional<TStoredValue> stored = value.defaultValue()) WriteStored(store, value.name, *stored);
    }
    for (const char* name : kObsoleteValues)
      if (store.ValueExists(name)) store.DeleteValue(name);
  });
}

TSettingsLoadReport LoadSettings(TSettings& settings, TRegistryStore& store, const TSettingsEnvironment& env) {
  TSettingsLoadReport report;
  try {
    EnsureSettingDefaults(store, env);
  } catch (const ERegistryException& e) {
    report.storeError = e.what();
    report.storeErrorReason = e.Reason();
  }
  std::vector<TSettingValue> values = SettingValues(settings, env);
  if (!store.OpenKey(kSettingsKey, false)) {
    for (const TSettingValue& value : values) AssignDefault(value);
    return report;
  }
  for (const TSettingValue& value : values) {
    try {
      ReadInto(store, value);
    } catch (const ERegistryException&) {
      AssignDefault(value);
      report.defaultedValues.push_back(value.name);
    }
  }
  store.CloseKey();
  return report;
}

void SaveSettings(const TSettings& settings, TRegistryStore& store, const TSettingsEnvironment& env) {
  EnsureSettingDefaults(store, env);
  TSettings copy = settings;
  std::vector<TSettingValue> values = SettingValues(copy, env);
  // WindowMaximized goes first of the window values: it decides whether the others are written.
  auto maximized = std::find_if(values.begin(), values.end(), [](const TSettingValue& v) { return v.name == "WindowMaximized"; });
  auto left = std::find_if(values.begin(), values.end(), [](const TSettingValue& v) { return v.name == "WindowLeft"; });
  std::rotate(left, maximized, maximized + 1);
  WithSettingsKey(store, [&] {
    for (const TSettingValue& value : values) {
      if (settings.WindowMaximized && IsGeometry(value.name)) continue;
      WriteStored(store, value.name, StoredFormOf(value));
    }
  });
}

}  // namespace tarnwick
