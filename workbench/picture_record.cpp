#include "workbench/picture_record.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <cstdint>

namespace tarno::workbench {
namespace {

void PutDWord(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

QString PictureFileFilter() {
  return QStringLiteral("All Picture Files (*.bmp *.dib *.gif *.jpg *.jpeg *.ico *.cur);;Bitmaps (*.bmp *.dib);;"
                        "GIF Images (*.gif);;JPEG Images (*.jpg *.jpeg);;Icons (*.ico *.cur)");
}

std::optional<std::string> PictureRecord(const QString& file, QString& problem) {
  static const QStringList kTypes = {QStringLiteral("bmp"), QStringLiteral("dib"), QStringLiteral("gif"),
                                     QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("ico"),
                                     QStringLiteral("cur")};
  if (!kTypes.contains(QFileInfo(file).suffix().toLower())) {
    problem = QStringLiteral("%1\nInvalid picture: not a .bmp, .gif, .jpg, .ico or .cur file").arg(file);
    return std::nullopt;
  }
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) {
    problem = QStringLiteral("%1\ncannot be read: %2").arg(file, in.errorString());
    return std::nullopt;
  }
  const QByteArray bytes = in.readAll();
  // A cursor is an icon file with another type number; Qt reads it as one.
  QByteArray probe = bytes;
  if (QFileInfo(file).suffix().toLower() == QStringLiteral("cur") && probe.size() > 2) probe[2] = 1;
  if (bytes.isEmpty() || QImage::fromData(probe).isNull()) {
    problem = QStringLiteral("%1\nInvalid picture").arg(file);
    return std::nullopt;
  }
  std::string record;
  PutDWord(record, static_cast<uint32_t>(bytes.size()) + 8);
  record.append("lt\0\0", 4);
  PutDWord(record, static_cast<uint32_t>(bytes.size()));
  record.append(bytes.constData(), static_cast<size_t>(bytes.size()));
  return record;
}

}  // namespace tarno::workbench
