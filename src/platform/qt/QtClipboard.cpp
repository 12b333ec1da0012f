#include "platform/qt/QtClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace tarnwick {

std::string TQtClipboard::MimeTypeOf(const std::string& format) {
  std::string mime = "application/x-";
  for (char c : format) mime += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return mime;
}

bool TQtClipboard::HasText() const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data != nullptr && data->hasText();
}

bool TQtClipboard::HasFormat(const std::string& format) const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data != nullptr && data->hasFormat(QString::fromStdString(MimeTypeOf(format)));
}

std::optional<std::string> TQtClipboard::GetText() const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasText()) return std::nullopt;
  return data->text().toStdString();
}

std::optional<std::string> TQtClipboard::GetFormat(const std::string& format) const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  QString mime = QString::fromStdString(MimeTypeOf(format));
  if (data == nullptr || !data->hasFormat(mime)) return std::nullopt;
  QByteArray bytes = data->data(mime);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool TQtClipboard::SetContents(std::string text, std::vector<std::pair<std::string, std::string>> formats) {
  auto* data = new QMimeData;
  // Other programs expect the platform's line break.
  QString plain = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  data->setText(plain);
  for (const auto& [name, bytes] : formats)
    data->setData(QString::fromStdString(MimeTypeOf(name)), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  QApplication::clipboard()->setMimeData(data);
  return true;
}

}  // namespace tarnwick
