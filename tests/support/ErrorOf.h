#pragma once
// The message of the ScopeError an action throws, or "<no error>" when it
// throws none: a table of cases compares the text the user would see.

#include "app/Errors.h"

#include <QString>

#include <functional>

inline QString ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const ScopeError& error) {
    return error.Message();
  }
  return QStringLiteral("<no error>");
}
