#include "controls/TimeKnob.h"

namespace time_knob {

const TimeRow& RowForAngle(int angle) {
  for (const TimeRow& row : TimeRows)
    if (row.band.Holds(angle)) return row;
  return TimeRows[10];  // unreachable: the wrapping 100 ms/div band holds the rest
}

std::string_view SampleRateTextFor(const TimeRow& row, bool rate1MS) {
  return rate1MS && !row.oneChannelRateText.empty() ? row.oneChannelRateText : row.sampleRateText;
}

}  // namespace time_knob
