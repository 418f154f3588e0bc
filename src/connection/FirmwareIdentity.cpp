#include "connection/FirmwareIdentity.h"

namespace connection {
namespace {

QChar ByteCharacter(int value) { return QChar(static_cast<char16_t>(value & 0xFF)); }

}  // namespace

QString DateName(const std::array<std::string_view, 12>& names, int digitValue) {
  if (digitValue < 1 || digitValue > static_cast<int>(names.size()))
    return QString::fromLatin1(UnknownDateName);
  const std::string_view name = names[static_cast<std::size_t>(digitValue - 1)];
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString FirmwareDateText(int monthByte, int yearByte) {
  return DateName(MonthNames, DateDigitValue(monthByte)) + QStringLiteral(". ") +
         DateName(YearNames, DateDigitValue(yearByte));
}

QString RevisionText(int revisionByte) {
  return QString::fromLatin1(revisionByte == 'C' ? RevisionAText : RevisionBText);
}

QString VersionText(int first, int second, int third) {
  return QString(ByteCharacter(first)) + QLatin1Char('.') + ByteCharacter(second) +
         QLatin1Char('.') + ByteCharacter(third);
}

}  // namespace connection
