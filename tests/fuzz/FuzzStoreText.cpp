// The settings store's text, for any bytes a damaged or hostile file may
// hold: the parser either refuses the text or gives values that the writer
// turns back into a text that parses to the same values.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "storage/SettingsText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const std::optional<settings_text::Values> values = settings_text::Parse(bytes);
  if (!values) return 0;
  const QByteArray written =
      settings_text::Format(QStringLiteral("\\Software\\TessaronInc\\Veldrin\\5.0\\"), *values);
  const std::optional<settings_text::Values> again = settings_text::Parse(written);
  Require(again.has_value(), "what the store writes, it reads");
  Require(*again == *values, "the values survive a write and a read unchanged");
  return 0;
}
