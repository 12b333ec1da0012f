#include "platform/qt/QtSystemServices.h"

#include <QCoreApplication>
#include <QFontDatabase>

namespace tarnwick {

TQtSystemServices::TQtSystemServices() { clock_.start(); }

std::string TQtSystemServices::ProgramFolder() const {
  return QCoreApplication::applicationDirPath().toStdString() + "/";
}

std::vector<std::string> TQtSystemServices::InstalledFonts() const {
  std::vector<std::string> names;
  for (const QString& family : QFontDatabase::families()) names.push_back(family.toStdString());
  return names;
}

std::string TQtSystemServices::SystemFixedFont() const {
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family().toStdString();
}

std::uint32_t TQtSystemServices::TickCount() const { return static_cast<std::uint32_t>(clock_.elapsed()); }

}  // namespace tarnwick
