#include "storage/SettingsText.h"

#include <QStringDecoder>
#include <QStringList>

#include <limits>
#include <utility>

namespace settings_text {

namespace {

void AppendEscaped(QString& out, const QString& text, bool isName) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    switch (c.unicode()) {
      case u'\\': out += QLatin1String("\\\\"); break;
      case u'\n': out += QLatin1String("\\n"); break;
      case u'\r': out += QLatin1String("\\r"); break;
      case u'=':
        out += isName ? QLatin1String("\\=") : QLatin1String("=");
        break;
      case u'#':
        // Only a leading "#" would turn the line into a comment.
        out += (isName && i == 0) ? QLatin1String("\\#") : QLatin1String("#");
        break;
      default: out += c;
    }
  }
}

// Reads escaped text from `pos` up to `stop` (or the end when `stop` is null);
// `pos` is left on the stop character. Empty on an unknown escape.
std::optional<QString> ReadEscaped(const QString& line, qsizetype& pos, QChar stop) {
  QString out;
  while (pos < line.size()) {
    const QChar c = line[pos];
    if (!stop.isNull() && c == stop) return out;
    ++pos;
    if (c != u'\\') {
      out += c;
      continue;
    }
    if (pos == line.size()) return std::nullopt;
    switch (line[pos++].unicode()) {
      case u'\\': out += u'\\'; break;
      case u'n': out += u'\n'; break;
      case u'r': out += u'\r'; break;
      case u'=': out += u'='; break;
      case u'#': out += u'#'; break;
      default: return std::nullopt;
    }
  }
  if (!stop.isNull()) return std::nullopt;  // the stop character never came
  return out;
}

std::optional<std::int32_t> ParseInteger(QStringView text) {
  qsizetype pos = 0;
  const bool negative = !text.isEmpty() && text[0] == u'-';
  if (negative) ++pos;
  if (pos == text.size()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const char16_t c = text[pos].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    magnitude = magnitude * 10 + (c - u'0');
    if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

QString Folded(const QString& name) { return name.toCaseFolded(); }

bool Set(Values& values, const QString& name, Value value) {
  const QString folded = Folded(name);
  const auto found = values.find(folded);
  if (found == values.end()) {
    values.emplace(folded, Entry{name, std::move(value)});
    return true;
  }
  if (found->second.value == value) return false;
  found->second.value = std::move(value);
  return true;
}

std::optional<Values> Parse(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;

  Values values;
  for (QString line : text.split(u'\n')) {
    if (line.endsWith(u'\r')) line.chop(1);
    if (line.trimmed().isEmpty() || line.startsWith(u'#')) continue;
    qsizetype pos = 0;
    const std::optional<QString> name = ReadEscaped(line, pos, u'=');
    if (!name) return std::nullopt;
    ++pos;  // the "="
    const QStringView rest = QStringView(line).mid(pos);
    Value value;
    if (rest.startsWith(QLatin1String("int:"))) {
      const std::optional<std::int32_t> number = ParseInteger(rest.mid(4));
      if (!number) return std::nullopt;
      value = *number;
    } else if (rest.startsWith(QLatin1String("str:"))) {
      qsizetype textPos = pos + 4;
      std::optional<QString> string = ReadEscaped(line, textPos, QChar());
      if (!string) return std::nullopt;
      value = std::move(*string);
    } else {
      return std::nullopt;
    }
    const auto [it, inserted] = values.try_emplace(Folded(*name), Entry{*name, std::move(value)});
    if (!inserted) return std::nullopt;
  }
  return values;
}

QByteArray Format(const QString& key, const Values& values) {
  QString out = QStringLiteral("# Tessaron USB Oscilloscope settings, key ");
  AppendEscaped(out, key, false);
  out += QStringLiteral(
      "\n# One value per line: name=int:<number> or name=str:<text>, where \\\\, \\n and \\r\n"
      "# stand for a backslash, a line feed and a carriage return.\n");
  for (const auto& [folded, entry] : values) {
    AppendEscaped(out, entry.name, true);
    if (const auto* number = std::get_if<std::int32_t>(&entry.value)) {
      out += QLatin1String("=int:") + QString::number(*number);
    } else {
      out += QLatin1String("=str:");
      AppendEscaped(out, std::get<QString>(entry.value), false);
    }
    out += u'\n';
  }
  return out.toUtf8();
}

}  // namespace settings_text
