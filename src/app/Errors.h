#pragma once
// The failures the program reports to the user. A handler that fails throws
// ScopeError; the one wrapper around every handler (TForm1::Guard) catches it
// and shows the message box. The checked helpers below turn what would
// otherwise crash or run into undefined behaviour into such a message: a text
// that is not a number, an index past the end of a list, a division by zero.

#include <QString>

#include <cstdint>
#include <stdexcept>
#include <string>

class ScopeError : public std::runtime_error {
 public:
  explicit ScopeError(const QString& message)
      : std::runtime_error(message.toStdString()) {}
  QString Message() const { return QString::fromStdString(what()); }
};

// "'%s' is not a valid integer value" for anything but an optionally signed
// decimal (or $hex) integer in the 32-bit range; blanks around it are refused.
std::int32_t StrToInt(const QString& text);

// Throws "List index out of bounds (%d)" unless 0 <= index < count.
void CheckListIndex(std::int64_t index, std::int64_t count);

// Integer division truncating toward zero; throws "Division by zero".
std::int32_t IntDiv(std::int32_t numerator, std::int32_t denominator);

// The text of the error message box: a full stop is appended when the last
// character sorts after "." (so "Failed" gets one, "done." and "(5)" do not).
QString ErrorBoxText(const QString& message);
