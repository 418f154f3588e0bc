#include "core/RecordScales.h"

#include "app/Errors.h"
#include "controls/TimeKnob.h"
#include "controls/VoltsKnob.h"
#include "display/SampleRows.h"

namespace core {

namespace {
// No reply has been received: the record describes nothing yet.
bool Empty(const Record& record) { return record.sequence == 0; }
}  // namespace

std::int32_t CalOffsetOf(const Record& record, int channel, std::int32_t calHigh, std::int32_t calLow) {
  // A record holds the calibration in force when its command went out; a
  // calibration since applies to the records that follow.
  if (!Empty(record)) return record.Channel(channel).calOffset;
  return record.Channel(channel).highRange ? calHigh : calLow;
}

std::int32_t RowOfSample(const Record& record, int channel, std::int32_t index, std::int32_t zeroRow,
                         std::int32_t calOffset) {
  const capture_protocol::SampleBuffer& samples = record.Samples(channel);
  CheckListIndex(index, static_cast<std::int64_t>(samples.size()));
  return screen_model::SampleRow(samples[static_cast<std::size_t>(index)], zeroRow, record.Channel(channel).scale,
                                 calOffset);
}

std::int32_t RowOfMean(const Record& record, int channel, std::span<const double> means, std::int32_t index,
                       std::int32_t zeroRow, std::int32_t calOffset) {
  CheckListIndex(index, static_cast<std::int64_t>(means.size()));
  return screen_model::MeanSampleRow(means[static_cast<std::size_t>(index)], zeroRow, record.Channel(channel).scale,
                                     calOffset);
}

std::int32_t CursorUsPerColumn(const Record& record, std::int32_t panelUsPerColumn) {
  return Empty(record) ? panelUsPerColumn : record.samplePeriodUs;
}

std::int32_t CursorVoltsDiv(const Record& record, int channel, std::int32_t panelVoltsDiv) {
  if (Empty(record)) return panelVoltsDiv;
  return record.Channel(channel).VoltsDiv().value_or(panelVoltsDiv);
}

QString VoltsDivCaptionOf(const Record& record, int channel) {
  for (const volts_knob::VoltsRow& row : volts_knob::VoltsRows) {
    if (row.scale != record.Channel(channel).scale) continue;
    const std::string_view caption = volts_knob::Caption(row, channel);
    return QString::fromLatin1(caption.data(), qsizetype(caption.size()));
  }
  return {};
}

QString TimeDivCaptionOf(const Record& record) {
  for (const time_knob::TimeRow& row : time_knob::TimeRows) {
    if (row.index == record.timeBaseIndex)
      return QString::fromLatin1(row.timeDivText.data(), qsizetype(row.timeDivText.size()));
  }
  return {};
}

}  // namespace core
