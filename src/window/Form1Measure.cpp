// The window's side of the measurement panel: the readings of the held
// record after every frame while the panel is on, and the switch that shows
// the panel or cuts it off.

#include "window/TForm1.h"

#include "core/RecordScales.h"
#include "measure/MeasurementPanel.h"
#include "storage/SettingsStore.h"
#include "storage/StoredValues.h"

#include <QAction>

namespace {

constexpr int WidthWithPanel = 984;
constexpr int WidthWithoutPanel = 792;
// The stored switch: 1 on, 2 off.
constexpr std::int32_t StoredOn = 1;
constexpr std::int32_t StoredOff = 2;

}  // namespace

void TForm1::BuildMeasure() { Bind(AutoMeasurementsON1, &TForm1::AutoMeasurementsON1Click); }

void TForm1::AutoMeasuremtns(const std::array<core::ChannelReadings, 2>* readings) {
  // The window the frame has just drawn, read as the record was captured:
  // its ranges (and the calibration of each), its time per sample, whatever
  // the knobs show now.
  MeasurementPanel::Reading reading;
  reading.record = &HeldRecord;
  reading.viewStart = ViewStart;
  reading.viewEnd = ViewEnd;
  const core::FrameChannels shown = ChannelsOnScreen();
  for (int n : {1, 2}) {
    const ChannelParts channel = Channel(n);
    reading.calOffset[n - 1] = core::CalOffsetOf(HeldRecord, n, channel.CalHigh, channel.CalLow);
    reading.shown[n - 1] = shown.Shown(n);
    // The readings were taken with the record's own calibration count; the
    // panel's count differs only for a record never received, read anew.
    if (readings != nullptr && reading.calOffset[n - 1] == HeldRecord.Channel(n).calOffset)
      reading.read[n - 1] = &(*readings)[n - 1].panelUnits;
  }
  measurementPanel_->ShowReadings(reading);
}

void TForm1::AutoMeasurementsON1Click() {
  // The caption names what the item does next; switching computes nothing,
  // the panel keeps its texts until the next capture.
  const bool on = AutoMeasOn != 1;
  AutoMeasurementsON1->setText(on ? QStringLiteral("Auto Measurements OFF") : QStringLiteral("Auto Measurements ON"));
  AutoMeasOn = on ? 1 : 0;
  SetFormWidth(on ? WidthWithPanel : WidthWithoutPanel);
  SettingsRegistry.WriteInteger(stored::Name(stored::Id::AutoMeasONOFF), on ? StoredOn : StoredOff);
}
