// The front panel as values and the capture command made from it: the
// bytes are those the window sends for the same panel.
#include <gtest/gtest.h>

#include "CorePanels.h"

#include "app/Errors.h"
#include "core/PanelSettings.h"
#include "controls/VoltsKnob.h"
#include "core/Record.h"
#include "core/RecordReadings.h"
#include "core/RecordScales.h"
#include "support/ErrorOf.h"
#include "support/QtPrint.h"

#include <QByteArray>

namespace {

using core::PanelSettings;
using core::TriggerSource;

// Rows of the volts/div table.
using core_panels::Row100mV;
using core_panels::Row1V;
using core_panels::Row500mV;
using core_panels::Row5V;

QByteArray Hex(const capture_protocol::CaptureCommand& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size())).toHex(' ').toUpper();
}

// Both channels on at 5 V/div, 100 us/div, CH1 rising in auto mode at 32
// counts, the trigger in the middle: the frame the run/stop tests log.
PanelSettings DefaultPanel() {
  PanelSettings p = core_panels::BothChannelsAt5V();
  p.SetTriggerSource(TriggerSource::CH1);
  p.SetTriggerEdge(true);
  p.SetAutoTrigger(true);
  p.SetTriggerLevel(1, 32);
  p.SetTriggerPosition(251);
  return p;
}

struct CommandCase {
  const char* name;
  void (*change)(PanelSettings&);
  const char* bytes;
};

const CommandCase kCommands[] = {
    {"the default panel", [](PanelSettings&) {}, "AA 61 F3 1C 00 D0 08 ED 03"},
    {"level 0 sends 129", [](PanelSettings& p) { p.SetTriggerLevel(1, 0); }, "AA 81 F3 1C 00 D0 08 ED 03"},
    {"level 128 sends 1", [](PanelSettings& p) { p.SetTriggerLevel(1, 128); }, "AA 01 F3 1C 00 D0 08 ED 03"},
    {"level 200 sends 1", [](PanelSettings& p) { p.SetTriggerLevel(1, 200); }, "AA 01 F3 1C 00 D0 08 ED 03"},
    {"level -126 sends 255", [](PanelSettings& p) { p.SetTriggerLevel(1, -126); }, "AA FF F3 1C 00 D0 08 ED 03"},
    {"level -300 sends 255", [](PanelSettings& p) { p.SetTriggerLevel(1, -300); }, "AA FF F3 1C 00 D0 08 ED 03"},
    {"CH2's level for source CH2", [](PanelSettings& p) {
       p.SetTriggerSource(TriggerSource::CH2);
       p.SetTriggerLevel(2, 10);
     }, "AA 77 F3 1D 00 D0 08 ED 03"},
    {"EXT: CH2's level, mode bits 0 1, channel bit 6", [](PanelSettings& p) {
       p.SetTriggerSource(TriggerSource::EXT);
       p.SetTriggerLevel(2, -20);
     }, "AA 95 F3 1D 40 D0 08 ED 03"},
    {"falling edge, normal mode", [](PanelSettings& p) {
       p.SetTriggerEdge(false);
       p.SetAutoTrigger(false);
     }, "AA 61 C3 18 00 D0 08 ED 03"},
    {"both on the low range", [](PanelSettings& p) {
       p.SetVoltsRow(1, Row100mV);
       p.SetVoltsRow(2, Row500mV);
     }, "AA 61 33 1C 00 D0 08 ED 03"},
    {"CH1 alone high, CH2 low", [](PanelSettings& p) { p.SetVoltsRow(2, Row500mV); }, "AA 61 73 1C 00 D0 08 ED 03"},
    {"500 us/div, auto, CH2 source", [](PanelSettings& p) {
       p.SetTimeBase(5);
       p.SetTriggerSource(TriggerSource::CH2);
     }, "AA 81 F3 2D 00 D0 08 ED 03"},
    {"50 us/div with both on: 500 KS/s", [](PanelSettings& p) { p.SetTimeBase(2); }, "AA 61 F3 14 00"},
    {"50 us/div with CH1 alone: 1 MS/s of CH1", [](PanelSettings& p) {
       p.SetTimeBase(2);
       p.SetChannelOn(2, false);
     }, "AA 61 F3 14 18"},
    {"50 us/div with CH2 alone: 1 MS/s of CH2", [](PanelSettings& p) {
       p.SetTimeBase(2);
       p.SetChannelOn(1, false);
       p.SetTriggerSource(TriggerSource::CH2);
       p.SetTriggerLevel(2, 32);
     }, "AA 61 F3 15 28"},
    {"EXT at 1 MS/s", [](PanelSettings& p) {
       p.SetTimeBase(2);
       p.SetChannelOn(2, false);
       p.SetTriggerSource(TriggerSource::EXT);
       p.SetTriggerLevel(2, 32);
     }, "AA 61 F3 15 58"},
    {"the 10 % preset", [](PanelSettings& p) { p.SetTriggerPosition(51); }, "AA 61 F3 1C 00 76 06 48 06"},
    {"a marker past the strip is held to it", [](PanelSettings& p) { p.SetTriggerPosition(900); },
     "AA 61 F3 1C 00"},
};

TEST(CorePanel, TheCaptureCommandIsTheWindowsForTheSamePanel) {
  for (const CommandCase& c : kCommands) {
    PanelSettings p = DefaultPanel();
    c.change(p);
    const QByteArray bytes = Hex(core::CaptureCommandFor(p));
    EXPECT_TRUE(bytes.startsWith(c.bytes)) << c.name << ": " << bytes.toStdString();
  }
}

TEST(CorePanel, AMarkerPastTheStripSendsTheLastPosition) {
  PanelSettings far = DefaultPanel(), last = DefaultPanel();
  far.SetTriggerPosition(900);
  last.SetTriggerPosition(501);
  EXPECT_EQ(core::CaptureCommandFor(far), core::CaptureCommandFor(last));
  EXPECT_EQ(far, last);
}

TEST(CorePanel, PanelsCompareByEverySetting) {
  const PanelSettings base = DefaultPanel();
  EXPECT_EQ(base, DefaultPanel());
  PanelSettings p = base;
  p.SetCalibration(2, 0, 1);
  EXPECT_NE(p, base);
  p = base;
  p.SetZeroRow(1, 151);
  EXPECT_NE(p, base);
  p = base;
  p.SetContinuous(false);
  EXPECT_NE(p, base);
}

TEST(CorePanel, OutOfRangeChangesAreRefusedWithTheHouseMessage) {
  PanelSettings p = DefaultPanel();
  EXPECT_EQ(ErrorOf([&] { p.SetVoltsRow(3, Row1V); }), "List index out of bounds (3)");
  EXPECT_EQ(ErrorOf([&] { p.SetTriggerLevel(0, 1); }), "List index out of bounds (0)");
  EXPECT_EQ(ErrorOf([&] { p.SetVoltsRow(1, 7); }), "List index out of bounds (7)");
  EXPECT_EQ(ErrorOf([&] { p.SetTimeBase(16); }), "List index out of bounds (16)");
  EXPECT_EQ(p, DefaultPanel());  // nothing changed by a refused call
}

TEST(CorePanel, ChangesThatNeedAFreshAcquisition) {
  struct Case {
    const char* name;
    bool startInNormalMode;
    void (*change)(PanelSettings&);
    core::PanelChange expected;
  };
  const Case cases[] = {
      {"time base", false, [](PanelSettings& p) { p.SetTimeBase(5); }, core::PanelChange::Restart},
      {"trigger source", false, [](PanelSettings& p) { p.SetTriggerSource(TriggerSource::EXT); }, core::PanelChange::Restart},
      {"level of the source", false, [](PanelSettings& p) { p.SetTriggerLevel(1, 40); }, core::PanelChange::Reissue},
      {"level of the other channel", false, [](PanelSettings& p) { p.SetTriggerLevel(2, 40); }, core::PanelChange::None},
      {"normal to auto", true, [](PanelSettings& p) { p.SetAutoTrigger(true); }, core::PanelChange::Reissue},
      {"auto to normal", false, [](PanelSettings& p) { p.SetAutoTrigger(false); }, core::PanelChange::None},
      {"volts/div", false, [](PanelSettings& p) { p.SetVoltsRow(1, Row1V); }, core::PanelChange::None},
  };
  for (const Case& c : cases) {
    PanelSettings before = DefaultPanel();
    if (c.startInNormalMode) before.SetAutoTrigger(false);
    PanelSettings after = before;
    c.change(after);
    EXPECT_EQ(core::ChangeWhileRunning(before, after), c.expected) << c.name;
  }
}

TEST(CoreRecord, TheDescriptionIsThatOfTheCommandsPanel) {
  struct Case {
    const char* name;
    void (*change)(PanelSettings&);
    screen_model::RecordLayout layout;
    bool rate1MS;
    int recordChannel;
    std::int32_t usPerSample;
  };
  using screen_model::RecordLayout;
  const Case cases[] = {
      {"100 us/div, both", [](PanelSettings&) {}, RecordLayout::Standard, false, 1, 2},
      {"50 us/div, both: stretched", [](PanelSettings& p) { p.SetTimeBase(2); }, RecordLayout::Stretched, false, 1, 2},
      {"50 us/div, CH2 alone", [](PanelSettings& p) {
         p.SetTimeBase(2);
         p.SetChannelOn(1, false);
       }, RecordLayout::ThreeThousand, true, 2, 1},
      {"1 s/div", [](PanelSettings& p) { p.SetTimeBase(15); }, RecordLayout::Standard, false, 1, 20000},
  };
  for (const Case& c : cases) {
    PanelSettings p = DefaultPanel();
    c.change(p);
    const core::Record r = core::DescribeRecord(p);
    EXPECT_EQ(r.layout, c.layout) << c.name;
    EXPECT_EQ(r.rate1MS, c.rate1MS) << c.name;
    EXPECT_EQ(r.recordChannel, c.recordChannel) << c.name;
    EXPECT_EQ(r.UsPerSample(), c.usPerSample) << c.name;
  }
  PanelSettings p = DefaultPanel();
  p.SetVoltsRow(2, Row500mV);
  p.SetCalibration(1, -3, 4);
  p.SetCalibration(2, 5, -6);
  const core::Record r = core::DescribeRecord(p);
  EXPECT_EQ(r.Channel(1), (core::RecordChannel{true, true, 78, 4}));
  EXPECT_EQ(r.Channel(2), (core::RecordChannel{true, false, 156, 5}));
}

TEST(CoreRecord, EachVoltsRowIsNamedByTheScaleItWasCapturedAt) {
  for (int row = 0; row < static_cast<int>(std::size(volts_knob::VoltsRows)); ++row) {
    PanelSettings p = DefaultPanel();
    p.SetVoltsRow(1, row);
    const core::RecordChannel c = core::DescribeRecord(p).Channel(1);
    EXPECT_EQ(c.VoltsDiv(), volts_knob::VoltsRows[row].voltsDiv) << "row " << row;
    // The same scale on the other range is no row of the knob.
    EXPECT_EQ((core::RecordChannel{true, !c.highRange, c.scale, 0}.VoltsDiv()), std::nullopt) << "row " << row;
  }
  EXPECT_EQ(core::RecordChannel{}.VoltsDiv(), std::nullopt);  // nothing captured
}

// How the screen reads a record: the record's time base, ranges and scales;
// before the first record, the panel's, for lines over an empty graticule.
TEST(CoreRecord, ScreenReadersTakeTheRecordsMeaningAndThePanelsOnlyBeforeTheFirst) {
  PanelSettings p = DefaultPanel();  // 5 V/div on both, 100 us/div
  p.SetVoltsRow(2, Row100mV);
  p.SetCalibration(1, -3, 9);
  p.SetCalibration(2, -3, 9);
  core::Record r = core::DescribeRecord(p);
  EXPECT_EQ(core::CursorUsPerColumn(r, 1000), 1000);  // no reply yet
  EXPECT_EQ(core::CursorVoltsDiv(r, 1, 7), 7);
  EXPECT_EQ(core::CalOffsetOf(r, 1, 11, -5), 11);  // the panel's, by the range
  EXPECT_EQ(core::CalOffsetOf(r, 2, 11, -5), -5);
  r.sequence = 1;
  EXPECT_EQ(core::CursorUsPerColumn(r, 1000), 2);
  EXPECT_EQ(core::CursorVoltsDiv(r, 1, 7), 100);  // 5 V/div
  EXPECT_EQ(core::CursorVoltsDiv(r, 2, 7), 2);    // 100 mV/div

  // The calibration in force for the range each channel was captured on,
  // whatever the panel's calibration is now.
  EXPECT_EQ(core::CalOffsetOf(r, 1, 11, -5), 9);
  EXPECT_EQ(core::CalOffsetOf(r, 2, 11, -5), -3);

  // A sample at C + 127 lands on the 0 V row, at the record's scale.
  r.ch1[10] = 130;
  r.ch2[10] = 124;
  EXPECT_EQ(core::RowOfSample(r, 1, 10, 200, 3), 200);
  EXPECT_EQ(core::RowOfSample(r, 2, 10, 200, -3), 200);
  EXPECT_EQ(core::RowOfSample(r, 1, 10, 200, 0), 200 - (127 * 78) / 100 + (130 * 78) / 100);
  EXPECT_EQ(ErrorOf([&] { core::RowOfSample(r, 1, 3001, 200, 0); }), QStringLiteral("List index out of bounds (3001)"));
}

TEST(CoreRecord, TheMeasurementTextsAreThoseOfTheRecordsRangeAndTimeBase) {
  // A square wave of 10 samples a period, 20 counts above and below 0 V.
  PanelSettings p = DefaultPanel();
  core::Record r = core::DescribeRecord(p);
  for (int i = 1; i <= 3000; ++i) r.ch1[std::size_t(i)] = (i - 1) % 10 < 5 ? 106 : 146;
  struct Case {
    const char* what;
    int voltsRow, timeBase;
    const char* peakToPeak;
    const char* period;
  };
  const Case cases[] = {
      {"5 V/div at 100 us/div: 2 us a sample", Row5V, 3, "3.13 V", "20 us"},  // 40 counts x 78.4 mV
      {"500 mV/div at 1 ms/div: 20 us a sample", Row500mV, 6, "620 mV", "200 us"},  // 40 x 15.6 mV
      {"the stretched record: 2 us a sample at 1 us a column", Row1V, 2, "3.13 V", "20 us"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PanelSettings q = DefaultPanel();
    q.SetVoltsRow(1, c.voltsRow);
    q.SetTimeBase(c.timeBase);
    const core::Record described = core::DescribeRecord(q);
    r.channels = described.channels;
    r.SetTimeBase(described.timeBaseIndex, described.rate1MS);
    r.samplePeriodUs = described.samplePeriodUs;
    const measure::ReadingTexts t = core::PanelTextsOf(r, 1, 500, 996, 0, QStringLiteral("."));
    EXPECT_EQ(t.peakToPeak, QLatin1String(c.peakToPeak));
    EXPECT_EQ(t.period, QLatin1String(c.period));
  }
  EXPECT_EQ(ErrorOf([&] { core::PanelTextsOf(r, 1, 600, 599, 0, QStringLiteral(".")); }),
            QStringLiteral("Division by zero"));
  EXPECT_EQ(ErrorOf([&] { core::PanelTextsOf(r, 1, 600, 3001, 0, QStringLiteral(".")); }),
            QStringLiteral("List index out of bounds (3001)"));
}

}  // namespace
