#pragma once

#include <chrono>

#include "platform/test/FixedSystemServices.h"

namespace tarnwick {

// Fixed answers, but the real clock: for code that waits on deadlines, as the FTP client does.
class TRunningClockServices : public TFixedSystemServices {
 public:
  std::uint32_t TickCount() const override {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  }
};

}  // namespace tarnwick
