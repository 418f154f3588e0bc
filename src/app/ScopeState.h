#pragma once
// The scope state: the variables through which the subsystems exchange
// settings and data. One instance lives in each main window (so tests can
// build several windows); every name is the one used throughout the code.
// Flags are one byte holding 0 or 1 and readers take exactly 1 as true.

#include "core/Record.h"
#include "core/RecordView.h"

#include <QColor>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

struct ScopeState {
  using Flag = std::uint8_t;

  // Acquisition (run/stop cycle)
  Flag Running = 0;
  Flag AwaitingData = 0;
  Flag ConSample = 1;
  Flag RestartPending = 0;
  std::int32_t HourGlassFrame = 0;
  std::int32_t StopTrigPos = 0;
  // The record on screen: both channels' samples (indexed 1..3000, index 0
  // unused, so the arithmetic of the record layouts reads as it does
  // everywhere else) and the description they are read by (layout, ranges
  // and scales at capture, time per column, its sequence number: the
  // complete replies received since the window was made, 0 before the first). Made whole when a reply is
  // received and written nowhere else.
  core::Record HeldRecord;

  // Connection
  Flag DeviceFound = 0;


  // Time base
  std::int32_t TimeBaseIndex = 0;
  Flag Rate1MS = 0;
  std::int32_t SamplePeriodUs = 0;
  std::int32_t TimeKnobAngle = 0;
  QString TimeDivText;
  QString SampleRateText;

  // Vertical controls; ChannelOn is indexed 1..2 (index 0 unused)
  std::int32_t KnobAngle = 0;
  std::array<Flag, 3> ChannelOn{};
  Flag CH1Focus = 0;
  std::int32_t CH1KnobAngle = 0;
  std::int32_t CH2KnobAngle = 0;
  std::int32_t CH1VertPos = 0;
  std::int32_t CH2VertPos = 0;
  std::int32_t CH1Scale = 0;
  std::int32_t CH2Scale = 0;
  std::int32_t CH1VoltsDiv = 0;
  std::int32_t CH2VoltsDiv = 0;
  Flag CH1HighRange = 0;
  Flag CH2HighRange = 0;
  QString CH1VoltsDivText;
  QString CH2VoltsDivText;
  QString KnobBitmapPrefix;
  Flag MouseIsDown = 0;
  Flag KnobSnap = 0;
  std::int32_t MouseDownPos = 0;
  std::int32_t VertDragDelta = 0;

  // Trigger
  std::int32_t TriggerCH = 0;
  Flag RisingTrigger = 1;
  Flag AutoTrigger = 0;
  std::int32_t TrigPosPreLo = 0;
  std::int32_t TrigPosPreHi = 0;
  std::int32_t TrigPosPostLo = 0;
  std::int32_t TrigPosPostHi = 0;
  std::int32_t CH1TriggerV = 0;
  std::int32_t CH2TriggerV = 0;

  // Calibration
  std::int32_t CalCH1L = 0;
  std::int32_t CalCH2L = 0;
  std::int32_t CalCH1H = 0;
  std::int32_t CalCH2H = 0;

  // Display
  std::int32_t ViewStart = 0;
  std::int32_t ViewEnd = 0;
  Flag PlotValid = 0;
  // Whose channels the frame shows of the held record (core/RecordView):
  // the panel's keys for the record the panel asked for, the record's own
  // for a kept one stepped back to or opened.
  core::ChannelSource FrameChannelSource = core::ChannelSource::PanelKeys;
  std::int32_t CH1CalOffset = 0;
  std::int32_t CH2CalOffset = 0;
  static constexpr int PersistWidth = 800;
  static constexpr int PersistHeight = 600;
  std::vector<std::int32_t> CH1Persistence =
      std::vector<std::int32_t>(PersistWidth * PersistHeight, 0);
  std::vector<std::int32_t> CH2Persistence =
      std::vector<std::int32_t>(PersistWidth * PersistHeight, 0);
  std::array<QColor, 1024> RainbowColors{};
  std::array<QColor, 256> CH1PersistColors{};
  std::array<QColor, 256> CH2PersistColors{};
  Flag SnapToPlotOn = 0;
  Flag SnapAll = 0;
  Flag XCursorSelected = 0;
  Flag VCursorDrag = 0;
  Flag HCursorDrag = 0;
  Flag HozCusASelected = 0;
  std::int32_t DragStartY = 0;
  std::int32_t DragStartLeft = 0;
  std::int32_t DragStartTop = 0;
  std::int32_t HCusAVolts = 0;
  std::int32_t HCusBVolts = 0;
  std::int32_t HCusDelta = 0;
  QString CursorTimeText;
  QString CursorVoltText;
  Flag PersistenceOn = 0;
  Flag RainbowOn = 0;
  std::int32_t PersistenceFade = 0;
  std::int32_t PersistenceHit = 0;
  std::int32_t PersistenceMode = 0;
  QString GridFile;
  Flag ScreenSave = 0;

  // Measurements
  Flag AutoMeasOn = 0;
  QString FreqText;

  // Reference waveform; ReferenceRows is indexed by sample index 1..3000
  Flag ReferenceOn = 0;
  std::array<std::int32_t, 3001> ReferenceRows{};
};
