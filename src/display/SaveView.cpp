#include "display/SaveView.h"

#include "app/Errors.h"

#include <QBuffer>
#include <QSaveFile>

namespace save_view {

QImage StretchToSavedSize(const QImage& screen) {
  return screen.convertToFormat(QImage::Format_RGB32)
      .scaled(SavedSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void WhitenPureBlack(QImage& image) {
  if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
  // Row by row from the top, left to right within a row.
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if ((line[x] & 0x00FFFFFFu) == 0) line[x] = qRgb(255, 255, 255);
  }
}

QByteArray Bmp24Bytes(const QImage& image) {
  // An image without alpha is written with 24 bits a pixel.
  const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!opaque.save(&buffer, "BMP")) throw ScopeError(QStringLiteral("Cannot write the bitmap"));
  return bytes;
}

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    throw ScopeError(QStringLiteral("Cannot create file %1").arg(path));
}

}  // namespace save_view
