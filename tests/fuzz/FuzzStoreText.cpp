// The settings store's text, for any bytes a damaged or hostile file may
// hold: the parser either refuses the text or gives values that the writer
// turns back into a text that parses to the same values; read line by line,
// the values of the lines that read do the same.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "storage/SettingsText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  // Line by line, the values of the lines that read survive a write and a
  // read as they are; the whole text reads exactly when no line is damaged.
  const settings_text::ParsedLines lines = settings_text::ParseLines(bytes);
  const std::optional<settings_text::Values> kept = settings_text::Parse(
      settings_text::Format(QStringLiteral("\\Software\\TessaronInc\\Veldrin\\5.0\\"), lines.values));
  Require(kept.has_value() && *kept == lines.values, "the values of the lines that read are written and read back");
  const std::optional<settings_text::Values> values = settings_text::Parse(bytes);
  Require(values.has_value() == lines.damaged.empty(), "a text reads whole exactly when no line is damaged");
  if (!values) return 0;
  const QByteArray written =
      settings_text::Format(QStringLiteral("\\Software\\TessaronInc\\Veldrin\\5.0\\"), *values);
  const std::optional<settings_text::Values> again = settings_text::Parse(written);
  Require(again.has_value(), "what the store writes, it reads");
  Require(*again == *values, "the values survive a write and a read unchanged");
  return 0;
}
