// The identify answer as the port reads it: each of its seven positions is
// a byte (0..255), -1 when nothing came in time, or 1000 when the port was
// closed under the reader. Input byte i is position i; missing positions did
// not come; a byte past the seventh marks positions (bit i) as read on a
// closed port.
#include <array>
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "acquisition/CaptureProtocol.h"
#include "connection/FirmwareIdentity.h"

namespace cp = capture_protocol;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::array<int, cp::IdentifyAnswerLength> reads{};
  const unsigned closedMask = size > reads.size() ? data[reads.size()] : 0u;
  for (std::size_t i = 0; i < reads.size(); ++i) {
    reads[i] = i < size ? data[i] : -1;
    if ((closedMask >> i) & 1u) reads[i] = 1000;
  }

  const cp::IdentifyAnswer answer = cp::DecodeIdentifyAnswer(reads);
  Require(answer.Present == (reads[0] == 'O'), "present exactly when the first byte is O");
  Require(answer.RevisionA == (reads[1] == 'C'), "revision A exactly for C");
  Require(cp::VersionText(answer).size() == 5, "the version is three characters and two stops");
  Require(reads[5] >= 0 || answer.Month == -1, "a month that did not come stays unknown");

  // The texts the panel shows for the same bytes.
  const QString revision = connection::RevisionText(reads[1]);
  Require(revision == QLatin1String(reads[1] == 'C' ? connection::RevisionAText
                                                    : connection::RevisionBText),
          "the revision text is one of the two");
  Require(connection::VersionText(reads[2], reads[3], reads[4]).size() == 5,
          "the version text is three characters and two stops");
  const QString date = connection::FirmwareDateText(reads[5], reads[6]);
  Require(!date.isEmpty() && date.size() <= 9, "the date text is short and never empty");
  return 0;
}
