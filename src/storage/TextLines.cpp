#include "storage/TextLines.h"

#include "app/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace text_lines {

QStringList SplitLines(QStringView text) {
  QStringList lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != u'\r' && c != u'\n') continue;
    lines << text.mid(start, i - start).toString();
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines << text.mid(start).toString();
  return lines;
}

QString JoinLines(const QStringList& lines) {
  QString text;
  for (const QString& line : lines) {
    text += line;
    text += QLatin1String("\r\n");
  }
  return text;
}

QString DecodeText(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  return QString::fromLatin1(bytes);
}

QStringList ReadTextLines(const QString& path) {
  const auto fail = [&path]() -> QStringList {
    throw ScopeError(QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path)));
  };
  // A device or a pipe would be read forever; a folder cannot be read.
  const QFileInfo info(path);
  if (!info.isFile() || info.size() > MaxTextFileBytes) return fail();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return fail();
  const QByteArray bytes = file.read(MaxTextFileBytes + 1);
  if (file.error() != QFileDevice::NoError || bytes.size() > MaxTextFileBytes) return fail();
  return SplitLines(DecodeText(bytes));
}

void WriteTextLines(const QString& path, const QStringList& lines) {
  const QByteArray content = JoinLines(lines).toUtf8();
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
    throw ScopeError(QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(path)));
  }
}

}  // namespace text_lines
