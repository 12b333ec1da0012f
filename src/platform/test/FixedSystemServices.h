#pragma once

#include "platform/SystemServices.h"

namespace tarnwick {

// A system whose answers the test sets; the clock moves only when the test advances it.
class TFixedSystemServices : public TSystemServices {
 public:
  std::string programFolder = "/nonexistent/";
  std::vector<std::string> fonts = {"DejaVu Sans", "Liberation Mono"};
  std::string fixedFont = "Monospace";
  std::uint32_t ticks = 0;
  std::string longTime = "14:05:09";
  std::string shortDate = "10/12/2026";
  std::vector<std::string> openedWithDefaultProgram;

  std::string ProgramFolder() const override { return programFolder; }
  std::vector<std::string> InstalledFonts() const override { return fonts; }
  std::string SystemFixedFont() const override { return fixedFont; }
  std::uint32_t TickCount() const override { return ticks; }
  std::string CurrentLongTime() const override { return longTime; }
  std::string CurrentShortDate() const override { return shortDate; }
  bool OpenWithDefaultProgram(const std::string& path) override {
    openedWithDefaultProgram.push_back(path);
    return true;
  }
};

}  // namespace tarnwick
