#pragma once

#include <QElapsedTimer>

#include "platform/SystemServices.h"

namespace tarnwick {

class TQtSystemServices : public TSystemServices {
 public:
  TQtSystemServices();

  std::string ProgramFolder() const override;
  std::vector<std::string> InstalledFonts() const override;
  std::string SystemFixedFont() const override;
  std::uint32_t TickCount() const override;
  std::string CurrentLongTime() const override;
  std::string CurrentShortDate() const override;
  bool OpenWithDefaultProgram(const std::string& path) override;

 private:
  QElapsedTimer clock_;
};

}  // namespace tarnwick
