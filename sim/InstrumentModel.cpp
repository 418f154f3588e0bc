#include "sim/InstrumentModel.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

constexpr int kRecordSamples = 3000;
constexpr int kFiftyMicrosecondRow = 2;
constexpr int kRefineSteps = 60;

const SignalSource& TriggerSignal(const Inputs& inputs, TriggerInput source) {
  switch (source) {
    case TriggerInput::CH1:
      return inputs.ch1;
    case TriggerInput::CH2:
      return inputs.ch2;
    case TriggerInput::EXT:
      break;
  }
  return inputs.ext;
}

// The marker Left the scope had, from the pre-trigger count it sent:
// P = 6 x (Left div 2 + 208), or 6 x (Left div 4 + 270) on the 50 us/div row.
int MarkerLeft(int preTriggerCount, int timeBaseIndex) {
  const int sixths = preTriggerCount / 6;
  if (timeBaseIndex == kFiftyMicrosecondRow) return 4 * (sixths - 270) + 3;
  return 2 * (sixths - 208) + 1;
}

}  // namespace

CaptureSetup DecodeCaptureCommand(const CommandFrame& f) {
  CaptureSetup setup;
  setup.levelCode = static_cast<int>(f[1]) - 2;
  setup.edgeBitsSet = (f[2] & 0x30) == 0x30;
  setup.ch1HighRange = (f[2] & 0x40) != 0;
  setup.ch2HighRange = (f[2] & 0x80) != 0;
  setup.timeBaseIndex = std::clamp(f[3] >> 3, kTimeBaseRows.front().index,
                                   kTimeBaseRows.back().index);
  setup.autoTrigger = (f[3] & 0x04) != 0;
  if ((f[4] & 0x40) != 0) {
    setup.source = TriggerInput::EXT;
  } else {
    setup.source = (f[3] & 0x03) == 0 ? TriggerInput::CH1 : TriggerInput::CH2;
  }
  switch ((f[4] >> 3) & 0x07) {
    case 0b011:
      setup.layout = Layout::CH1Only;
      break;
    case 0b101:
      setup.layout = Layout::CH2Only;
      break;
    default:
      setup.layout = Layout::TwoChannel;
      break;
  }
  setup.preTriggerCount = DecodePreTriggerCount(f[5], f[6], f[7], f[8]);
  return setup;
}

int DecodePreTriggerCount(std::uint8_t preLo, std::uint8_t preHi, std::uint8_t postLo,
                          std::uint8_t postHi) {
  // Each digit that may stand for a zero adds a second reading.
  std::vector<int> pres{preLo + 255 * preHi - 250};
  if (preLo == 1) pres.push_back(pres[0] - 1);
  if (preHi == 1) {
    for (std::size_t i = 0, n = pres.size(); i < n; ++i) pres.push_back(pres[i] - 255);
  }
  std::vector<int> posts{postLo + 255 * postHi};
  if (postLo == 2) posts.push_back(posts[0] - 2);
  if (postHi == 1) {
    for (std::size_t i = 0, n = posts.size(); i < n; ++i) posts.push_back(posts[i] - 255);
  }
  int chosen = pres[0];
  bool agreed = false;
  for (int pre : pres) {
    for (int post : posts) {
      if (!agreed && pre + post == kRecordSamples) {
        chosen = pre;
        agreed = true;
      }
    }
  }
  return std::clamp(chosen, 0, kRecordSamples);
}

int SamplesPerChannel(Layout layout) {
  return layout == Layout::TwoChannel ? kRecordSamples / 2 : kRecordSamples;
}

double SamplePeriodSeconds(const CaptureSetup& setup) {
  const auto row = std::find_if(kTimeBaseRows.begin(), kTimeBaseRows.end(),
                                [&](const TimeBaseRow& r) { return r.index == setup.timeBaseIndex; });
  const int column = row == kTimeBaseRows.end() ? kTimeBaseRows[1].columnMicroseconds
                                                : row->columnMicroseconds;
  const bool stretched =
      setup.layout == Layout::TwoChannel && setup.timeBaseIndex == kFiftyMicrosecondRow;
  return (stretched ? 2 * column : column) * 1e-6;
}

int TriggerSampleIndex(const CaptureSetup& setup) {
  const int left = MarkerLeft(setup.preTriggerCount, setup.timeBaseIndex);
  // Where each layout draws the marker, as a sample index (the marker's
  // centre column, mapped back through the view window):
  //   standard      column 3 Left - ViewStart                 -> 3 Left - 2
  //   3000-sample   column 3 Left - ViewStart + 742           -> 3 Left + 740
  //   stretched     column 2 ((3 Left) div 2 - ViewStart) + 740 -> (3 Left) div 2 + 369
  if (setup.layout != Layout::TwoChannel) return 3 * left + 740;
  if (setup.timeBaseIndex == kFiftyMicrosecondRow) return (3 * left) / 2 + 369;
  return 3 * left - 2;
}

bool TriggerConditionMet(const Inputs& inputs, const CaptureSetup& setup, double t) {
  const SignalSource& signal = TriggerSignal(inputs, setup.source);
  const double volts = signal.Volts(t);
  if (setup.source == TriggerInput::EXT) {
    const bool high = volts >= kTtlThresholdV;
    return setup.edgeBitsSet ? !high : high;
  }
  const bool highRange = setup.source == TriggerInput::CH1 ? setup.ch1HighRange
                                                           : setup.ch2HighRange;
  const double zeroOffset = setup.source == TriggerInput::CH1 ? inputs.ch1ZeroOffset : inputs.ch2ZeroOffset;
  // The comparator sees the converter's codes, offset included.
  const int code = std::clamp(VoltsToCode(volts, highRange) + static_cast<int>(std::lround(zeroOffset)), 0, 255);
  return setup.edgeBitsSet ? code <= setup.levelCode : code >= setup.levelCode;
}

std::optional<double> FindTriggerEdge(const Inputs& inputs, const CaptureSetup& setup,
                                      double from, long maxSamples) {
  const double period = SamplePeriodSeconds(setup);
  bool before = TriggerConditionMet(inputs, setup, from);
  for (long k = 1; k <= maxSamples; ++k) {
    const double t = from + static_cast<double>(k) * period;
    const bool now = TriggerConditionMet(inputs, setup, t);
    if (!before && now) {
      if (!TriggerSignal(inputs, setup.source).Continuous()) return t;
      double notYet = t - period;
      double reached = t;
      for (int i = 0; i < kRefineSteps; ++i) {
        const double middle = notYet + (reached - notYet) / 2;
        if (middle <= notYet || middle >= reached) break;  // as fine as a double gets
        if (TriggerConditionMet(inputs, setup, middle)) {
          reached = middle;
        } else {
          notYet = middle;
        }
      }
      return reached;
    }
    before = now;
  }
  return std::nullopt;
}

std::vector<std::uint8_t> CaptureReply(const Inputs& inputs, const CaptureSetup& setup,
                                       double anchorTime, int anchorIndex, std::uint8_t status) {
  const double period = SamplePeriodSeconds(setup);
  const int count = SamplesPerChannel(setup.layout);
  std::vector<std::uint8_t> reply;
  reply.reserve(kReplyLength);
  reply.push_back(status);
  const auto record = [&](const SignalSource& signal, bool highRange, double zeroOffset) {
    for (int i = 1; i <= count; ++i) {
      const double t = anchorTime + static_cast<double>(i - anchorIndex) * period;
      reply.push_back(WithZeroOffset(VoltsToCode(signal.Volts(t), highRange), zeroOffset, i));
    }
  };
  if (setup.layout != Layout::CH2Only) record(inputs.ch1, setup.ch1HighRange, inputs.ch1ZeroOffset);
  if (setup.layout != Layout::CH1Only) record(inputs.ch2, setup.ch2HighRange, inputs.ch2ZeroOffset);
  return reply;
}

std::uint8_t WithZeroOffset(std::uint8_t code, double offset, int sampleIndex) {
  const double whole = std::floor(offset);
  const double fraction = offset - whole;
  // Sample i gets one count more whenever the running total of the fraction
  // passes a whole number: the codes alternate in the right proportion.
  // A whole offset (the usual 0) moves every code alike.
  const double extra =
      fraction == 0 ? 0.0 : std::floor(sampleIndex * fraction) - std::floor((sampleIndex - 1) * fraction);
  const double moved = static_cast<double>(code) + whole + extra;
  return static_cast<std::uint8_t>(std::clamp(moved, 0.0, 255.0));
}

std::array<std::uint8_t, kIdentifyLength> IdentifyAnswer(const IdentityBytes& id) {
  return {id.present, id.revision, id.version[0], id.version[1], id.version[2], id.month, id.year};
}

}  // namespace sim
