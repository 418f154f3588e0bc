#pragma once
// The instrument side of the capture protocol, without any I/O: what a
// capture command asks for, at which sample the trigger edge must land, how
// the edge is found on the input signals, and the bytes of the replies. The
// server (SimServer) feeds it bytes from the pseudo-terminal and writes out
// what it returns.
//
// This folder speaks the wire format on its own and shares no code with the
// scope's side of it, so a mistake on one side is not silently mirrored on
// the other.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "sim/SignalSource.h"

namespace sim {

inline constexpr std::uint8_t kStartByte = 170;
inline constexpr std::uint8_t kStopByte = 255;
inline constexpr std::uint8_t kIdentifyQuery = '?';
inline constexpr std::size_t kCommandLength = 9;
inline constexpr std::size_t kReplyLength = 3001;
inline constexpr std::size_t kIdentifyLength = 7;

using CommandFrame = std::array<std::uint8_t, kCommandLength>;

// What the channel byte selects: 1500 samples of each channel, or 3000 of one
// channel at 1 MS/s.
enum class Layout { TwoChannel, CH1Only, CH2Only };
enum class TriggerInput { CH1, CH2, EXT };

struct CaptureSetup {
  int levelCode = 127;           // level byte b stands for code b - 2
  bool edgeBitsSet = true;       // bits 4-5 of the edge/range byte
  bool ch1HighRange = true;
  bool ch2HighRange = true;
  int timeBaseIndex = 3;         // held to the rows 2..15
  bool autoTrigger = true;
  TriggerInput source = TriggerInput::CH1;
  Layout layout = Layout::TwoChannel;
  int preTriggerCount = 1998;    // held to 0..3000
};

CaptureSetup DecodeCaptureCommand(const CommandFrame& frame);

// The two base-255 pairs are P + 250 and 3000 - P, and the scope writes a
// zero digit as 1 (2 for the low post digit). The reading of P that makes the
// pairs agree wins; the pre pair alone decides when none does.
int DecodePreTriggerCount(std::uint8_t preLo, std::uint8_t preHi, std::uint8_t postLo,
                          std::uint8_t postHi);

// Microseconds per plot column of each time-base row, index 2..15.
struct TimeBaseRow {
  int index;
  int columnMicroseconds;
};
inline constexpr std::array<TimeBaseRow, 14> kTimeBaseRows{{
    {2, 1},     {3, 2},      {4, 4},      {5, 10},    {6, 20},     {7, 40},     {8, 100},
    {9, 200},   {10, 400},   {11, 1000},  {12, 2000}, {13, 4000},  {14, 10000}, {15, 20000},
}};

int SamplesPerChannel(Layout layout);
// One column per sample, except two channels on the 50 us/div row: the
// converter gives each channel 500 kS/s there, one sample every two columns.
double SamplePeriodSeconds(const CaptureSetup& setup);

// The 1-based sample index that lies under the scope's trigger marker for
// this layout and pre-trigger count. The scope sends only Left div 2 (Left
// div 4 on the 50 us/div row) of its marker; the odd Left of the presets
// (10 %, 50 %, 90 %) is taken, so those stand exactly on the edge. May lie
// outside the record when the marker is at its very ends.
int TriggerSampleIndex(const CaptureSetup& setup);

struct Inputs {
  SignalSource ch1;
  SignalSource ch2;
  SignalSource ext;  // the TTL square on the external trigger input
  // The converter's own zero offset of each channel, in counts, on both
  // ranges: a grounded input reads 126 + offset. A fractional offset reads
  // as the two neighbouring codes in turn, in the proportion that gives that
  // mean (an offset of -0.5 reads 125, 126, 125, ...).
  double ch1ZeroOffset = 0;
  double ch2ZeroOffset = 0;
};

// A converter code moved by the zero offset, for the `sampleIndex`-th sample
// (1-based) of a record; held to 0..255.
std::uint8_t WithZeroOffset(std::uint8_t code, double offset, int sampleIndex);

// True once the trigger source is on the far side of the level for the
// selected edge. A channel compares converter codes: with the edge bits set
// (the "rising" the scope sends) the voltage rises, so the code falls to or
// below the level. The external input is a logic level and is not inverted:
// there the edge bits clear mean rising, which is what the scope sends while
// its menu shows Rising for EXT.
bool TriggerConditionMet(const Inputs& inputs, const CaptureSetup& setup, double t);

// The first instant at or after `from` where the condition turns from false
// to true, looked for over at most `maxSamples` sample periods. On a
// continuous source the edge is refined between two samples, so the sample
// placed there reaches the level and a periodic signal stands still.
std::optional<double> FindTriggerEdge(const Inputs& inputs, const CaptureSetup& setup,
                                      double from, long maxSamples);

inline constexpr std::uint8_t kStatusTriggered = 1;
inline constexpr std::uint8_t kStatusUntriggered = 0;

// Status byte and samples: sample `anchorIndex` (1-based) is taken at
// `anchorTime`, the others a sample period apart.
std::vector<std::uint8_t> CaptureReply(const Inputs& inputs, const CaptureSetup& setup,
                                       double anchorTime, int anchorIndex, std::uint8_t status);

struct IdentityBytes {
  std::uint8_t present = 'O';
  std::uint8_t revision = 'C';  // "C" is revision A, anything else B
  std::array<std::uint8_t, 3> version{'S', 'I', 'M'};
  std::uint8_t month = 'C';  // December
  std::uint8_t year = '5';   // 2006
};
std::array<std::uint8_t, kIdentifyLength> IdentifyAnswer(const IdentityBytes& identity);

}  // namespace sim
