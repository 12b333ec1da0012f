#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

// What the program asks of the system beyond files: where it lives, which fonts it may use,
// a clock, the current time in the user's formats, and the desktop's default programs.
class TSystemServices {
 public:
  virtual ~TSystemServices() = default;

  // The folder of the program file, ending in "/".
  virtual std::string ProgramFolder() const = 0;
  virtual std::vector<std::string> InstalledFonts() const = 0;
  // The family the system uses for fixed-pitch text.
  virtual std::string SystemFixedFont() const = 0;
  // Milliseconds from an arbitrary start, never going back.
  virtual std::uint32_t TickCount() const = 0;
  // The current time in the locale's long time format and the date in its short date format.
  virtual std::string CurrentLongTime() const = 0;
  virtual std::string CurrentShortDate() const = 0;
  // Opens a file in the program the desktop chooses for it; false when none could be started.
  virtual bool OpenWithDefaultProgram(const std::string& path) = 0;
};

}  // namespace tarnwick
