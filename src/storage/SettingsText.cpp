#include "storage/SettingsText.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
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

namespace {

// A line as the user would recognise it in a message: printable text as it
// is, other bytes as \xNN, a long line cut.
QString Shown(const QByteArray& line, const std::optional<QString>& decoded) {
  constexpr qsizetype Longest = 60;
  QString out;
  if (decoded) {
    for (const QChar c : *decoded) {
      if (c.unicode() < 0x20 || c.unicode() == 0x7f)
        out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
      else
        out += c;
    }
  } else {
    for (const char byte : line) {
      const auto b = static_cast<unsigned char>(byte);
      if (b < 0x20 || b >= 0x7f)
        out += QStringLiteral("\\x%1").arg(b, 2, 16, QLatin1Char('0'));
      else
        out += QLatin1Char(byte);
    }
  }
  if (out.size() > Longest) out = out.left(Longest) + QStringLiteral("...");
  return out;
}

std::optional<QString> DecodedLine(const QByteArray& line) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(line);
  if (decoder.hasError()) return std::nullopt;
  return text;
}

// The value of one line, or empty when the line holds none.
std::optional<Entry> ValueOfLine(const QString& line) {
  qsizetype pos = 0;
  const std::optional<QString> name = ReadEscaped(line, pos, u'=');
  if (!name) return std::nullopt;
  ++pos;  // the "="
  const QStringView rest = QStringView(line).mid(pos);
  if (rest.startsWith(QLatin1String("int:"))) {
    const std::optional<std::int32_t> number = ParseInteger(rest.mid(4));
    if (!number) return std::nullopt;
    return Entry{*name, *number};
  }
  if (rest.startsWith(QLatin1String("str:"))) {
    qsizetype textPos = pos + 4;
    std::optional<QString> string = ReadEscaped(line, textPos, QChar());
    if (!string) return std::nullopt;
    return Entry{*name, std::move(*string)};
  }
  return std::nullopt;
}

// The name a damaged line gives, as far as it reads: empty when it has none.
QString NameOfDamagedLine(const QByteArray& line) {
  const QString lossy = QString::fromUtf8(line);
  qsizetype pos = 0;
  const std::optional<QString> name = ReadEscaped(lossy, pos, u'=');
  if (!name || name->contains(QChar::ReplacementCharacter)) return QString();
  return *name;
}

}  // namespace

ParsedLines ParseLines(const QByteArray& bytes) {
  struct Read {
    int number;
    Entry entry;
    QString shown;
  };
  // Every line giving a name, so that a name given twice is seen whole.
  std::map<QString, std::vector<Read>> byName;
  ParsedLines parsed;
  int number = 0;
  for (QByteArray line : bytes.split('\n')) {
    ++number;
    if (line.endsWith('\r')) line.chop(1);
    const std::optional<QString> decoded = DecodedLine(line);
    if (decoded && (decoded->trimmed().isEmpty() || decoded->startsWith(u'#'))) continue;
    std::optional<Entry> entry;
    if (decoded) entry = ValueOfLine(*decoded);
    if (!entry) {
      parsed.damaged.push_back({number, NameOfDamagedLine(line), Shown(line, decoded)});
      continue;
    }
    byName[Folded(entry->name)].push_back({number, *entry, Shown(line, decoded)});
  }
  for (auto& [folded, reads] : byName) {
    if (reads.size() == 1) {
      parsed.values.emplace(folded, std::move(reads.front().entry));
      continue;
    }
    for (Read& read : reads) parsed.damaged.push_back({read.number, read.entry.name, read.shown});
  }
  std::sort(parsed.damaged.begin(), parsed.damaged.end(),
            [](const DamagedLine& a, const DamagedLine& b) { return a.number < b.number; });
  return parsed;
}

std::optional<Values> Parse(const QByteArray& bytes) {
  ParsedLines parsed = ParseLines(bytes);
  if (!parsed.damaged.empty()) return std::nullopt;
  return std::move(parsed.values);
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
