#pragma once
// A reference waveform file: one channel's trace as ready-made plot rows, so
// a loaded reference is drawn exactly where the trace stood when it was
// saved, whatever the positions and volts/div rows are later. The rows only
// make sense at the time base they were saved at, so the file carries that
// too.
//
//   line  1     the header, exactly ReferenceHeader
//         2     the time base knob's detent angle
//         3, 4  the first and last sample index on the plot when saved
//         5     the row of sample index 0 (see RowsOf)
//         6..   the rows of sample indices 1 .. 3000
//
// Pure: the lines from a channel's record, and a file's lines checked whole
// into a reference before anything is applied.

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace reference_file {

inline constexpr const char* ReferenceHeader = "Tessaron USB Oscilloscope Referance File";
inline constexpr int LineCount = 3005;
inline constexpr int RowCount = 3001;  // sample indices 0 .. 3000
inline constexpr int AngleLine = 2;
inline constexpr int ViewStartLine = 3;
inline constexpr int ViewEndLine = 4;
inline constexpr int FirstRowLine = 5;

// Shown (as the program's own message, not as an error) when the first line
// is not the header.
inline constexpr const char* WrongFileMessage =
    "Wrong File Type.  Please Select a Reference Waveform File! Operation Canceled";
// Shown after a reference has been loaded.
inline constexpr const char* TimeBaseLockedMessage =
    "Time base adjusted to match the reference channel and time base knob has been disabled until "
    "reference channel is turned off.";

using Samples = std::array<std::uint8_t, RowCount>;
using Rows = std::array<std::int32_t, RowCount>;

// What the rows are made from: the record's samples of one channel, with
// the channel's 0 V row, its scale in pixels per 100 counts and its
// calibration offset, as the plot draws them.
struct ChannelTrace {
  const Samples& samples;
  std::int32_t zeroRow = 0;
  std::int32_t scale = 0;
  std::int32_t calOffset = 0;
};

// The inputs the window can hold lie far inside these; beyond them the row
// arithmetic could leave 32 bits, so RowsOf refuses them with a ScopeError.
inline constexpr std::int32_t RowInputLimit = 1'000'000;

// The plot row of every sample index, by the plot's own row formula (each
// division truncating toward zero, done separately). Index 0 holds no
// sample (the record starts at index 1); it gets the row of index 1, so a
// view that starts at 0 draws a flat first segment, as the traces do.
Rows RowsOf(const ChannelTrace& trace);

struct Reference {
  std::int32_t timeKnobAngle = 0;
  std::int32_t viewStart = 0;
  std::int32_t viewEnd = 0;
  Rows rows{};
  friend bool operator==(const Reference&, const Reference&) = default;
};

// The 3005 lines of a file holding `reference`.
QStringList Lines(const Reference& reference);

// The file's lines as a reference; std::nullopt when the first line is not
// exactly the header (no file, an empty one, or another kind): the caller
// shows WrongFileMessage. Otherwise every line 2 .. 3005 is read, in line
// order, and the first that fails throws ScopeError: "List index out of
// bounds (%d)" for a missing line (counted from 0) or "'%s' is not a valid
// integer value". Then an angle the time base knob cannot show (outside
// 0 .. 359) is refused, naming the line. Lines past 3005 are not read.
std::optional<Reference> Parse(const QStringList& lines);

}  // namespace reference_file
