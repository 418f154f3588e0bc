#pragma once
// A reference or an export is made from the record the window holds. Before
// the first reply has arrived the buffers hold their start-up zeros, and
// saving them would give the user a file of invented data.

#include "app/Errors.h"

#include <QString>

#include <cstdint>

namespace held_record {

inline constexpr const char* NothingToSaveYet =
    "No capture has been received yet, so there is nothing to save. Press RUN first.";

// Throws ScopeError with NothingToSaveYet when no record has been received.
inline void RequireRecord(std::uint64_t recordsReceived) {
  if (recordsReceived == 0) throw ScopeError(QString::fromLatin1(NothingToSaveYet));
}

}  // namespace held_record
