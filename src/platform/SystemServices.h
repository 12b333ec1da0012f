#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

// What the program asks of the system beyond files: where it lives, which fonts it may use,
// and a clock.
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
};

}  // namespace tarnwick
