#pragma once
// Time on the instrument's link, as the capture wait and the connection
// watch reckon with it: 9600 baud, 11 bits a character (start, 8 data, even
// parity, stop), so one capture reply of 3001 bytes takes about 3.4 s.
//
// After a stop byte the instrument may still be sending a reply it had begun.
// QuietLine says when the line has been quiet long enough to be sure no reply
// is still arriving; until then what comes is discarded and nothing new is
// asked. Times are milliseconds on one steady clock, given by the caller.

#include "app/Errors.h"

#include <algorithm>
#include <cstdint>

namespace link_timing {

inline constexpr int LineBaud = 9600;
inline constexpr int BitsPerCharacter = 11;
inline constexpr double CharacterMs = 1000.0 * BitsPerCharacter / LineBaud;  // ~1.15 ms
// One whole capture reply at the line speed, rounded up: 3439 ms.
inline constexpr int ReplyMs = (3001 * BitsPerCharacter * 1000 + LineBaud - 1) / LineBaud;

// Silence that ends a reply of unknown length (cut short by the stop byte, or
// never begun): far more than a USB serial bridge holds bytes back, or than a
// busy computer leaves a simulated instrument unscheduled.
inline constexpr int QuietLineMs = 250;
// Silence after the last byte of a reply whose whole length has been seen.
inline constexpr int TailDoneQuietMs = 20;
// The discard never lasts longer than one reply plus the quiet time: an
// instrument that never falls silent does not hold the scope for ever.
inline constexpr int SettleLimitMs = ReplyMs + QuietLineMs;
// With 3000 bytes of the 3001 queued, the last one is waited for this long
// (about eight character times) before the reply is read without it.
inline constexpr int LastByteGraceMs = 10;

class QuietLine {
 public:
  // A stop byte (or a query whose answer may be left over) went out.
  // `bytesToCome`: what is left of a reply that was being awaited, counting
  // what is queued now (-1: nothing known).
  void Disturbed(std::int64_t nowMs, int bytesToCome = -1) {
    if (!dirty_) since_ = nowMs;
    dirty_ = true;
    lastInputMs_ = nowMs;
    bytesToCome_ = bytesToCome;
  }
  // `count` bytes of input were discarded.
  void InputSeen(std::int64_t nowMs, int count) {
    if (!dirty_) return;
    lastInputMs_ = nowMs;
    if (bytesToCome_ > 0) bytesToCome_ = count >= bytesToCome_ ? 0 : bytesToCome_ - count;
  }
  // The exchange that disturbed it ended cleanly: nothing is left to come.
  void Clear() { dirty_ = false; }

  bool Settled(std::int64_t nowMs) {
    if (dirty_ && nowMs >= SettledAt()) dirty_ = false;
    return !dirty_;
  }
  // How long until Settled may turn true if nothing more arrives.
  int MsUntilSettled(std::int64_t nowMs) const {
    if (!dirty_) return 0;
    return static_cast<int>(std::clamp<std::int64_t>(SettledAt() - nowMs, 0, SettleLimitMs));
  }
  bool Dirty() const { return dirty_; }

 private:
  // A reply seen to its last byte needs only a short silence after it; one
  // of unknown length the long one; neither more than the limit.
  std::int64_t SettledAt() const {
    const int quiet = bytesToCome_ == 0 ? TailDoneQuietMs : QuietLineMs;
    return std::min(lastInputMs_ + quiet, since_ + SettleLimitMs);
  }

  bool dirty_ = false;
  std::int64_t since_ = 0;
  std::int64_t lastInputMs_ = 0;
  int bytesToCome_ = -1;
};

// How long the capture wait sleeps while part of a reply is queued: until
// the rest is due at the rate the reply has come so far, so a fast link is
// read as soon as it is in and a reply trickling in at the line speed (under
// a byte a millisecond, 3.4 s a reply) wakes the scope some 20 times a
// second, not once a byte. `gained` bytes came in the `sinceLookUs`
// microseconds since the last look at this reply (0: this is the first).
// The first look at a partly arrived reply has no rate yet and looks again
// at once (0), after the window's events: the rest of a reply from a fast
// link is usually in by then, where a whole millisecond's sleep would cost
// a third of the captures a second. Every later sleep is at least a
// millisecond, so no reply is ever polled in a tight loop. The longest sleep
// keeps the progress bar moving several times a second and bounds how late
// a reply that ends sooner than its rate promised is read; window events
// end any sleep at once. A reply that has stopped coming (cut short) is
// looked at less and less often, each sleep twice the last interval, up to
// StalledReplySleepMs: a pause of a busy computer costs a fast link a few
// milliseconds, not a whole stalled-reply sleep.
inline constexpr int LongestTrickleSleepMs = 50;
inline constexpr int StalledReplySleepMs = 50;
inline int TrickleSleepMs(int remaining, int gained, std::int64_t sinceLookUs) {
  if (remaining <= 0 || sinceLookUs <= 0) return 0;
  if (gained <= 0) return static_cast<int>(std::clamp<std::int64_t>(2 * sinceLookUs / 1000, 1, StalledReplySleepMs));
  // Bytes a microsecond seen so far; the rest at that rate, within bounds.
  const double rate = static_cast<double>(gained) / static_cast<double>(sinceLookUs);
  const double ms = remaining / rate / 1000.0;
  return static_cast<int>(std::clamp(ms, 1.0, static_cast<double>(LongestTrickleSleepMs)));
}

// A reply's progress (the samples in so far, which the screen draws as they
// come) is told at most once per this interval: at every read of a reply
// trickling in at the line speed, some 20 times a second, but never for the
// reads close together at its start and end, nor faster on a fast link.
inline constexpr int ProgressIntervalMs = LongestTrickleSleepMs;
// Whether a progress `sinceLastUs` microseconds after the last one of this
// reply may be told (negative: none told yet).
inline bool ProgressDue(std::int64_t sinceLastUs) {
  return sinceLastUs < 0 || sinceLastUs >= std::int64_t{ProgressIntervalMs} * 1000;
}

// A reply that has begun and then brings no byte for this long has stopped
// for good (an instrument reset half way, a bridge that lost the rest): it is
// given up rather than waited for until STOP. An instrument sends its reply
// in one stream, so a working one never pauses between bytes for more than a
// few character times; about a second also outlasts anything a busy
// computer or a USB bridge holds bytes back. On a slow line the character
// times are the longer of the two, so a slow but steady reply is never cut.
inline constexpr int StalledReplyFloorMs = 1000;
inline constexpr int StalledReplyCharacters = 16;
// The silence that ends a begun reply at `baud`; throws "Division by zero"
// for a rate of 0.
inline int StalledReplyMs(int baud = LineBaud) {
  constexpr int bitMs = StalledReplyCharacters * BitsPerCharacter * 1000;
  const int whole = IntDiv(bitMs, baud);
  const int roundedUp = whole + (whole * baud < bitMs ? 1 : 0);
  return std::max(StalledReplyFloorMs, roundedUp);
}
// Whether a reply of which `queued` bytes have come, the last of them
// `silentMs` ago, has stalled. A reply not yet begun never has: a capture
// waits for its trigger as long as it takes.
inline bool ReplyStalled(int queued, std::int64_t silentMs, int baud = LineBaud) {
  return queued > 0 && silentMs >= StalledReplyMs(baud);
}

}  // namespace link_timing
