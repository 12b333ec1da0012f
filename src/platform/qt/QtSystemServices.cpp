#include "platform/qt/QtSystemServices.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFile>
#include <QFontDatabase>
#include <QLocale>
#include <QRegularExpression>
#include <QUrl>

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

std::string TQtSystemServices::CurrentLongTime() const {
  // The long format with seconds, as a desktop shows the time; without the time zone that
  // Qt's long format adds.
  QLocale locale = QLocale::system();
  QString format = locale.timeFormat(QLocale::LongFormat);
  format.remove(QRegularExpression(QStringLiteral("\\s*t+")));
  return locale.toString(QTime::currentTime(), format.trimmed()).toStdString();
}

std::string TQtSystemServices::CurrentShortDate() const {
  return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

bool TQtSystemServices::OpenWithDefaultProgram(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(path.c_str())));
}

}  // namespace tarnwick
