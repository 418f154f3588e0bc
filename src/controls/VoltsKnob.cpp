#include "controls/VoltsKnob.h"

#include <iterator>

namespace volts_knob {

const VoltsRow& RowForAngle(int angle) {
  for (const VoltsRow& row : VoltsRows)
    if (row.band.Holds(angle)) return row;
  // Unreachable: the wrapping 5 V band holds everything the others do not.
  return VoltsRows[5];
}

}  // namespace volts_knob
