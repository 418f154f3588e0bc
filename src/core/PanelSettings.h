#pragma once
// The front panel's settings as plain values: what each channel, the trigger,
// the time base and the acquisition mode are set to, with nothing of the
// window in them. A panel is compared with == and changed through methods
// named for what they do; the capture command is made from it by one pure
// function, so whoever holds a panel (the window, a logger, a test) sends the
// same bytes for the same settings.

#include "acquisition/CaptureProtocol.h"

#include <array>
#include <cstdint>

namespace core {

// Channels are numbered 1 and 2, as on the panel.
inline constexpr int ChannelCount = 2;

struct ChannelSettings {
  bool on = false;
  int voltsRow = 5;        // row of the volts/div table (controls/VoltsKnob.h): 5 V/div
  std::int32_t zeroRow = 150;      // plot row of the channel's 0 V line
  std::int32_t triggerLevel = 0;   // counts above the channel's 0 V line
  std::int32_t calLow = 0;   // zero calibration of the 100..500 mV/div range, in counts
  std::int32_t calHigh = 0;  // and of the 1..10 V/div range

  bool HighRange() const;
  std::int32_t Scale() const;  // plot pixels per 100 counts of the row
  // The calibration count in force: that of the row's range.
  std::int32_t CalOffset() const { return HighRange() ? calHigh : calLow; }
  friend bool operator==(const ChannelSettings&, const ChannelSettings&) = default;
};

enum class TriggerSource : std::int32_t {
  CH1 = capture_protocol::TriggerSourceCH1,
  CH2 = capture_protocol::TriggerSourceCH2,
  EXT = capture_protocol::TriggerSourceEXT,
};

struct TriggerSettings {
  TriggerSource source = TriggerSource::CH1;
  bool rising = true;
  bool automatic = true;
  // Left of the trigger position marker over the overview strip (1..501).
  std::int32_t markerLeft = 251;
  friend bool operator==(const TriggerSettings&, const TriggerSettings&) = default;
};

struct TimeBaseSettings {
  std::int32_t index = 3;  // TimeBaseIndex of the time/div table: 100 us/div
  friend bool operator==(const TimeBaseSettings&, const TimeBaseSettings&) = default;
};

struct AcquisitionMode {
  bool continuous = true;
  friend bool operator==(const AcquisitionMode&, const AcquisitionMode&) = default;
};

class PanelSettings {
 public:
  std::array<ChannelSettings, ChannelCount> channels{};
  TriggerSettings trigger;
  TimeBaseSettings timeBase;
  AcquisitionMode mode;

  // Throws ScopeError for a channel other than 1 or 2 ("List index out of
  // bounds (n)") and for a row or index outside its table.
  ChannelSettings& Channel(int channel);
  const ChannelSettings& Channel(int channel) const;

  void SetChannelOn(int channel, bool on);
  void SetVoltsRow(int channel, int row);
  void SetZeroRow(int channel, std::int32_t row);
  void SetTriggerLevel(int channel, std::int32_t counts);
  void SetCalibration(int channel, std::int32_t lowRange, std::int32_t highRange);
  void SetTriggerSource(TriggerSource source);
  void SetTriggerEdge(bool rising);
  void SetAutoTrigger(bool automatic);
  void SetTriggerPosition(std::int32_t markerLeft);  // held to the strip
  void SetTimeBase(std::int32_t timeBaseIndex);
  void SetContinuous(bool continuous);

  // One channel alone on the 50 us/div row is sampled at 1 MS/s into one
  // 3000-sample record; any other panel gives 1500 samples a channel.
  bool Rate1MS() const;
  // Microseconds per plot column of the time base row.
  std::int32_t SamplePeriodUs() const;
  // The layout the instrument answers in: the channel byte is made from it.
  capture_protocol::ReplyLayout Layout() const;

  friend bool operator==(const PanelSettings&, const PanelSettings&) = default;
};

// What the capture command is made from, for this panel.
capture_protocol::CaptureCommandInputs CaptureInputsFor(const PanelSettings& panel);
// The 9 bytes of the capture command for this panel.
capture_protocol::CaptureCommand CaptureCommandFor(const PanelSettings& panel);

// Settings whose change while acquisition runs needs a fresh acquisition:
// the time base and the trigger source stop it and start it again 80 ms
// later; the trigger level and mode re-issue the pending capture.
enum class PanelChange { None, Restart, Reissue };
PanelChange ChangeWhileRunning(const PanelSettings& before, const PanelSettings& after);

}  // namespace core
