#include "app/Errors.h"

#include <limits>

std::int32_t StrToInt(const QString& text) {
  const auto fail = [&] {
    throw ScopeError(QStringLiteral("'%1' is not a valid integer value").arg(text));
  };
  QString body = text;
  bool negative = false;
  if (!body.isEmpty() && (body[0] == u'-' || body[0] == u'+')) {
    negative = body[0] == u'-';
    body = body.mid(1);
  }
  int base = 10;
  if (body.startsWith(u'$')) {
    base = 16;
    body = body.mid(1);
  } else if (body.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
    base = 16;
    body = body.mid(2);
  }
  if (body.isEmpty()) fail();
  for (QChar c : body) {
    const bool digit = base == 10 ? c.isDigit() && c.unicode() < 128
                                  : QStringLiteral("0123456789abcdefABCDEF").contains(c);
    if (!digit) fail();
  }
  bool ok = false;
  const qlonglong magnitude = body.toLongLong(&ok, base);
  if (!ok) fail();
  const qlonglong value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    fail();
  return static_cast<std::int32_t>(value);
}

void CheckListIndex(std::int64_t index, std::int64_t count) {
  if (index < 0 || index >= count)
    throw ScopeError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

std::int32_t IntDiv(std::int32_t numerator, std::int32_t denominator) {
  if (denominator == 0) throw ScopeError(QStringLiteral("Division by zero"));
  if (numerator == std::numeric_limits<std::int32_t>::min() && denominator == -1)
    throw ScopeError(QStringLiteral("Integer overflow"));
  return numerator / denominator;  // C++ truncates toward zero
}

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > u'.') return message + u'.';
  return message;
}
