#pragma once
// One capture as a value: both channels' samples and the description they
// are read by. A record is made when its reply has been received, from the
// settings its command was sent with, so nothing turned on the panel since
// changes how it reads; it can be kept, compared, passed on and saved whole.

#include "acquisition/CaptureProtocol.h"
#include "display/RecordLayout.h"

#include <QDateTime>
#include <QString>
#include <QMetaType>

#include <array>
#include <cstdint>
#include <optional>

namespace core {

class PanelSettings;

struct RecordChannel {
  bool on = false;          // the channel key was on when the command went out
  bool highRange = false;   // 1..10 V/div
  std::int32_t scale = 0;   // plot pixels per 100 counts at capture
  std::int32_t calOffset = 0;  // calibration count in force for its range
  // Volts/div of the knob row it was captured on, in 50 mV (millivolts per
  // plot pixel): each row has a scale of its own, so the scale names the
  // row. Empty for a scale no row has (no record yet).
  std::optional<std::int32_t> VoltsDiv() const;
  friend bool operator==(const RecordChannel&, const RecordChannel&) = default;
};

struct Record {
  // Indices 1..3000 as everywhere else; index 0 unused. Indices the layout
  // does not fill keep what the buffers held before (an earlier record's).
  capture_protocol::SampleBuffer ch1{};
  capture_protocol::SampleBuffer ch2{};
  // Its description.
  screen_model::RecordLayout layout = screen_model::RecordLayout::Standard;
  std::int32_t timeBaseIndex = 0;
  bool rate1MS = false;
  int recordChannel = 1;  // the channel a 3000-sample record belongs to
  std::array<RecordChannel, 2> channels{};
  std::int32_t samplePeriodUs = 0;  // microseconds per plot column of the time base
  // The panel's sample-rate caption when its command went out, as the user
  // saw it: the knob spells the one-channel rate "1M/s", the channel keys
  // "1MS/s", so it is kept, not worked out from the layout.
  QString sampleRateText;
  int samplesReceived = 0;          // sample bytes that came (3000, or 2999 without a late last byte)
  QDateTime received;               // local time the reply was read
  std::uint64_t sequence = 0;       // 1 for the first record of a link
  // The records whose mean, rounded to whole counts, the samples are: 1 for
  // a record as it came; more for the averaged trace (core/TraceAverage).
  int averaged = 1;

  const capture_protocol::SampleBuffer& Samples(int channel) const { return channel == 1 ? ch1 : ch2; }
  const RecordChannel& Channel(int channel) const { return channels[channel == 1 ? 0 : 1]; }
  // Microseconds between two samples: two plot columns a sample in the
  // stretched record.
  std::int32_t UsPerSample() const;
  // Describes it as taken on this time base row and rate: the layout follows.
  void SetTimeBase(std::int32_t index, bool oneMS);

  friend bool operator==(const Record&, const Record&) = default;
};

// The description of the record the command for this panel asks for; the
// samples are left empty.
Record DescribeRecord(const PanelSettings& panel);

}  // namespace core

Q_DECLARE_METATYPE(core::Record)
