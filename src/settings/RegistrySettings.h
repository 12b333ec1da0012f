#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/RegistryStore.h"
#include "platform/SystemServices.h"

namespace tarnwick {

// Everything the program keeps between runs, one field per stored value. The numbered
// families hold their slots in order: Port[0] is the value "Port1", File[4] is "File5".
struct TSettings {
  bool AutoIndent = false;
  bool SmartTabs = false;
  bool UseTabChar = false;
  bool VisRightMar = false;
  std::int32_t RightMarWidth = 0;
  std::int32_t TabWidth = 0;
  std::string StartupTemplate;
  std::string Font;
  std::int32_t FontSize = 0;
  bool UploadOnSave = false;
  bool WrapPrinting = false;
  bool NewPageStartup = false;
  bool FTPKeepAlive = false;
  bool RetainSize = false;
  std::int32_t WindowLeft = 0;
  std::int32_t WindowTop = 0;
  std::int32_t WindowWidth = 0;
  std::int32_t WindowHeight = 0;
  bool WindowMaximized = false;
  bool HalfPageScroll = false;
  std::array<std::int32_t, 5> Port{};
  std::array<std::string, 5> Username;
  std::array<std::string, 5> Password;  // as typed: the store keeps them in plain text
  std::array<std::string, 5> LocalFolder;
  std::array<std::string, 5> HostAddress;
  std::array<std::string, 5> DestinationFolder;
  std::array<std::string, 5> File;  // recent files, File[0] the most recent

  bool operator==(const TSettings&) const = default;
};

struct TWindowBounds {
  std::int32_t left = 0, top = 0, width = 0, height = 0;
};

// Where the defaults come from: the system (program folder, fonts) and the main window's
// geometry at the moment a default is written.
struct TSettingsEnvironment {
  const TSystemServices& system;
  std::function<TWindowBounds()> windowBounds;
};

extern const char* const kSettingsKey;
extern const char* const kDefaultTemplateName;

// What a load could not take as stored, for the user to be told.
struct TSettingsLoadReport {
  std::vector<std::string> defaultedValues;  // stored with the wrong type; given their defaults
  std::string storeError;                    // the defaults could not be written
  std::string storeErrorReason;
};

// Writes the default of every missing value and deletes the obsolete ones.
void EnsureSettingDefaults(TRegistryStore& store, const TSettingsEnvironment& env);
// A value of the wrong type gets its default and the others still load.
TSettingsLoadReport LoadSettings(TSettings& settings, TRegistryStore& store, const TSettingsEnvironment& env);
// Raises ERegistryException when the store refuses a value; the values before it are kept.
void SaveSettings(const TSettings& settings, TRegistryStore& store, const TSettingsEnvironment& env);

// The editor font: the first of the usual names that is installed, else the system's fixed font.
std::string DefaultEditorFont(const TSystemServices& system);

}  // namespace tarnwick
