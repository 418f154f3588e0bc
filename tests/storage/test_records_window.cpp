// The "Records" menu on the real window with records of the simulated
// instrument: stepping back through the history shows each record as it was
// captured (its samples, its picture, its readings, its layout), record files
// of every layout open again after a restart as the same record, a history of
// 100 records comes back whole, and bad record files change nothing.

#include "core/RecordFile.h"
#include "core/RecordSamples.h"
#include "storage/TextLines.h"
#include "support/KnobDetents.h"
#include "support/SquareWaveWindow.h"
#include "vertical/VerticalDriving.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
#include <iostream>
#include <vector>

namespace {

// Knob angles of the rows the cases use.
constexpr int CH2VoltsAngles[] = {135, 180, 225, 270, 315};  // 100 mV .. 2 V/div

constexpr int ExportDateLine = 2;

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

// The record as the history keeps it: only the samples of its own layout.
core::Record Own(const core::Record& record) { return core::WithOwnSamplesOnly(record); }

// What a user reads off the window for the record shown: the plot, the
// measurement texts and the data export (its date line left out).
struct Shown {
  QImage plot;
  QStringList measurements;
  QStringList exported;
};

Shown Take(ScopeWindow& w, const QString& exportPath) {
  ScopeDriver& scope = w.scope;
  Shown s;
  s.plot = scope.Plot()->grab().toImage();
  QList<QLabel*> labels = scope.Find<TPanel>(QStringLiteral("MeasurePanel"))->findChildren<QLabel*>();
  std::sort(labels.begin(), labels.end(), [](const QLabel* a, const QLabel* b) { return a->objectName() < b->objectName(); });
  for (const QLabel* label : labels) s.measurements << label->objectName() + "=" + label->text();
  w.ui.saveAnswers.push_back(exportPath);
  scope.ChooseMenuItem(QStringLiteral("ExportData1"));
  s.exported = text_lines::SplitLines(QString::fromUtf8(FileBytes(exportPath)));
  if (s.exported.size() > ExportDateLine) s.exported[ExportDateLine].clear();
  return s;
}

void ExpectSameView(const Shown& now, const Shown& then) {
  EXPECT_TRUE(now.plot == then.plot) << "the plot differs";
  EXPECT_EQ(now.measurements, then.measurements);
  EXPECT_EQ(now.exported.size(), then.exported.size());
  EXPECT_TRUE(now.exported == then.exported) << "the export differs";
}

void MeasurementsOn(ScopeDriver& scope) {
  if (scope.State().AutoMeasOn != 1) scope.ChooseMenuItem(QStringLiteral("AutoMeasurementsON1"));
  ASSERT_EQ(scope.State().AutoMeasOn, 1);
}

QString PositionText(const ScopeDriver& scope) { return scope.Find<QLabel>(QStringLiteral("RecordPosition"))->text(); }

class RecordsWindow : public SquareWaveWindow {
 protected:
  RecordsWindow() { MeasurementsOn(scope); }

  QString PathOf(const QString& name) const { return dir_.filePath(name); }
  Shown View() { return Take(w, PathOf(QStringLiteral("view-export.txt"))); }
  // Both channels on: CH1 on 1 V/div (high range), CH2 on 200 mV/div (low).
  void BothChannels() {
    Knob(2, Volts200mV);
    Knob(1, Volts1V);
  }
  // The channel `off` switched off, the other one on.
  void OneChannel(int off) {
    BothChannels();
    scope.PressChannelKey(off);
    scope.PressChannelOff();
    ASSERT_EQ(scope.State().ChannelOn[std::size_t(off)], 0);
    ASSERT_EQ(scope.State().ChannelOn[std::size_t(3 - off)], 1);
  }
  // A menu key pressed with the main window focused.
  void Key(Qt::Key key) {
    f.activateWindow();
    f.setFocus();
    scope.PressKey(key);
  }

  QTemporaryDir dir_;
};

TEST_F(RecordsWindow, PageUpFourTimesAfterFiveCapturesShowsTheFirstRecordAsCaptured) {
  BothChannels();
  TimeKnob(Time1ms);
  // Each record on another CH2 range, so no two are alike and each must be
  // read by its own description, not by the panel's.
  std::vector<core::Record> records;
  std::vector<Shown> views;
  for (int angle : CH2VoltsAngles) {
    Knob(2, angle);
    ASSERT_NO_FATAL_FAILURE(Capture());
    records.push_back(Own(scope.State().HeldRecord));
    views.push_back(View());
  }
  ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors();
  ASSERT_NE(records.front().ch2, records.back().ch2);
  ASSERT_NE(views.front().measurements, views.back().measurements);

  for (int i = 0; i < 4; ++i) Key(Qt::Key_PageUp);
  EXPECT_TRUE(scope.State().HeldRecord == records.front()) << "the first record is not held";
  EXPECT_TRUE(PositionText(scope).startsWith(QStringLiteral("Record 1 of 5  "))) << PositionText(scope).toStdString();
  ExpectSameView(View(), views.front());
  // Before the oldest there is nothing: it stays shown.
  Key(Qt::Key_PageUp);
  EXPECT_TRUE(scope.State().HeldRecord == records.front());

  Key(Qt::Key_PageDown);
  EXPECT_TRUE(scope.State().HeldRecord == records[1]);
  EXPECT_TRUE(PositionText(scope).startsWith(QStringLiteral("Record 2 of 5  "))) << PositionText(scope).toStdString();

  Key(Qt::Key_End);
  EXPECT_TRUE(scope.State().HeldRecord == records.back()) << "the fifth record is not held";
  EXPECT_TRUE(PositionText(scope).startsWith(QStringLiteral("Record 5 of 5  "))) << PositionText(scope).toStdString();
  ExpectSameView(View(), views.back());
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

TEST_F(RecordsWindow, ARecordSteppedBackToKeepsTheLayoutItWasCapturedWith) {
  BothChannels();
  TimeKnob(Time1ms);
  ASSERT_NO_FATAL_FAILURE(Capture());
  const core::Record first = Own(scope.State().HeldRecord);
  const Shown firstView = View();
  ASSERT_EQ(first.layout, screen_model::RecordLayout::Standard);

  ASSERT_NO_FATAL_FAILURE(OneChannel(2));
  TimeKnob(Time50us);
  ASSERT_NO_FATAL_FAILURE(Capture());
  const core::Record second = Own(scope.State().HeldRecord);
  ASSERT_NE(second.layout, first.layout);
  const Shown secondView = View();

  Key(Qt::Key_PageUp);
  EXPECT_TRUE(scope.State().HeldRecord == first);
  ExpectSameView(View(), firstView);
  Key(Qt::Key_End);
  EXPECT_TRUE(scope.State().HeldRecord == second);
  ExpectSameView(View(), secondView);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

// A kept record is viewed with its own channels for as long as it is shown:
// a replot after a view change draws what the first frame drew, and the
// channel keys pressed meanwhile wait for the next RUN, which starts from
// the panel as it stands.
TEST_F(RecordsWindow, AKeptRecordStaysAsCapturedWhileTheKeysChangeAndRunStartsFromThePanel) {
  BothChannels();
  TimeKnob(Time1ms);
  ASSERT_NO_FATAL_FAILURE(Capture());
  const Shown bothView = View();
  ASSERT_NO_FATAL_FAILURE(OneChannel(2));
  ASSERT_NO_FATAL_FAILURE(Capture());
  ASSERT_FALSE(scope.State().HeldRecord.Channel(2).on);
  const QStringList panel = scope.Snapshot().Lines();

  Key(Qt::Key_PageUp);
  ASSERT_TRUE(scope.State().HeldRecord.Channel(2).on);
  ExpectSameView(View(), bothView);
  EXPECT_EQ(scope.Snapshot().Lines(), panel) << "stepping back changed the front panel";
  // A replot of the same view, as a view window dragged and put back does.
  scope.ChooseMenuItem(QStringLiteral("ResetHorizontalView1"));
  ExpectSameView(View(), bothView);

  // The keys change: CH1 off and CH2 on, for the next RUN only.
  scope.PressChannelKey(1);
  scope.PressChannelOff();
  scope.PressChannelKey(2);
  ASSERT_EQ(scope.State().ChannelOn[1], 0);
  ASSERT_EQ(scope.State().ChannelOn[2], 1);
  ExpectSameView(View(), bothView);

  ASSERT_NO_FATAL_FAILURE(Capture());
  const core::Record& latest = scope.State().HeldRecord;
  EXPECT_FALSE(latest.Channel(1).on);
  EXPECT_TRUE(latest.Channel(2).on);
  EXPECT_EQ(PositionText(scope), QString()) << "a new record shows no position";
  Key(Qt::Key_PageUp);
  EXPECT_TRUE(PositionText(scope).startsWith(QStringLiteral("Record 2 of 3  "))) << PositionText(scope).toStdString();
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

// The markers stand elsewhere and each range has a calibration of its own,
// so a record opened in a window fresh from its defaults is drawn and
// measured as captured only by what its file holds.
TEST_F(RecordsWindow, ARecordOfEachLayoutSavedOpensAfterARestartAsTheSameRecord) {
  struct Case {
    const char* what;
    int channelOff;  // 0: both on
    int timeAngle;
    screen_model::RecordLayout layout;
  };
  const Case cases[] = {
      {"both channels at 1 ms/div", 0, Time1ms, screen_model::RecordLayout::Standard},
      {"CH1 alone at 50 us/div: 3000 samples", 2, Time50us, screen_model::RecordLayout::ThreeThousand},
      {"CH2 alone at 50 us/div: 3000 samples", 1, Time50us, screen_model::RecordLayout::ThreeThousand},
      {"both channels at 50 us/div: stretched", 0, Time50us, screen_model::RecordLayout::Stretched},
  };
  scope.State().CalCH1H = 3;
  scope.State().CalCH1L = -7;
  scope.State().CalCH2H = 2;
  scope.State().CalCH2L = -4;
  DragMarker(scope.Marker(1), {7 + 40});
  DragMarker(scope.Marker(2), {7 - 30});
  const std::int32_t zeroRows[] = {scope.State().CH1VertPos, scope.State().CH2VertPos};
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.channelOff == 0) BothChannels();
    else ASSERT_NO_FATAL_FAILURE(OneChannel(c.channelOff));
    TimeKnob(c.timeAngle);
    ASSERT_NO_FATAL_FAILURE(Capture());
    const core::Record saved = Own(scope.State().HeldRecord);
    EXPECT_EQ(saved.layout, c.layout);
    const Shown before = View();
    const QImage strip = scope.OverviewStrip()->grab().toImage();
    const QString path = PathOf(QStringLiteral("record%1.csv").arg(++n));
    w.ui.saveAnswers.push_back(path);
    scope.ChooseMenuItem(QStringLiteral("SaveRecord1"));
    ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors();

    // A restart: a new window with a store of its own, no instrument.
    ScopeWindow restarted{true, /*stopWatch=*/true};
    ASSERT_NO_FATAL_FAILURE(MeasurementsOn(restarted.scope));
    ASSERT_NE(restarted.scope.State().CH1VertPos, zeroRows[0]);
    ASSERT_NE(restarted.scope.State().CH2VertPos, zeroRows[1]);
    restarted.ui.openAnswers.push_back(path);
    restarted.scope.ChooseMenuItem(QStringLiteral("OpenRecord1"));
    ASSERT_TRUE(restarted.ui.errors.isEmpty()) << restarted.ui.errors.join('\n').toStdString();
    EXPECT_TRUE(restarted.scope.State().HeldRecord == saved) << "the record opened is not the one saved";
    for (int channel : {1, 2}) {
      EXPECT_EQ(Top(restarted.scope.Marker(channel)), zeroRows[channel - 1]) << "CH" << channel << "'s 0 V marker";
      EXPECT_EQ(channel == 1 ? restarted.scope.State().CH1VertPos : restarted.scope.State().CH2VertPos,
                zeroRows[channel - 1]);
    }
    ExpectSameView(Take(restarted, PathOf(QStringLiteral("restarted-export.txt"))), before);
    // The strip shows the record's own channel, whichever the knob is on.
    EXPECT_TRUE(restarted.scope.OverviewStrip()->grab().toImage() == strip) << "the overview strip differs";
  }
}

TEST_F(RecordsWindow, AHistoryOfAHundredRecordsSavedOpensAsTheSameHundred) {
  BothChannels();
  TimeKnob(Time1ms);
  std::vector<core::Record> records;
  for (int i = 0; i < core::RecordHistory::DefaultCapacity; ++i) {
    // Every other record on another CH2 range, so neighbours differ.
    Knob(2, CH2VoltsAngles[i % 2]);
    ASSERT_NO_FATAL_FAILURE(Capture());
    records.push_back(Own(scope.State().HeldRecord));
  }
  const QString path = PathOf(QStringLiteral("history.csv"));
  w.ui.saveAnswers.push_back(path);
  scope.ChooseMenuItem(QStringLiteral("SaveHistory1"));
  ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors();

  ScopeWindow restarted{true, /*stopWatch=*/true};
  restarted.ui.openAnswers.push_back(path);
  restarted.scope.ChooseMenuItem(QStringLiteral("OpenRecord1"));
  ASSERT_TRUE(restarted.ui.errors.isEmpty()) << restarted.ui.errors.join('\n').toStdString();
  EXPECT_TRUE(PositionText(restarted.scope).startsWith(QStringLiteral("Record 100 of 100  ")))
      << PositionText(restarted.scope).toStdString();
  // Stepped through from the newest to the oldest, the same records in order.
  for (int i = int(records.size()) - 1; i >= 0; --i) {
    ASSERT_TRUE(restarted.scope.State().HeldRecord == records[std::size_t(i)]) << "record " << i + 1;
    restarted.scope.ChooseMenuItem(QStringLiteral("PreviousRecord1"));
  }
  EXPECT_TRUE(PositionText(restarted.scope).startsWith(QStringLiteral("Record 1 of 100  ")))
      << PositionText(restarted.scope).toStdString();
}

TEST_F(RecordsWindow, ABadRecordFileIsRefusedAndChangesNothing) {
  BothChannels();
  TimeKnob(Time1ms);
  ASSERT_NO_FATAL_FAILURE(Capture());
  ASSERT_NO_FATAL_FAILURE(Capture());
  const core::Record held = scope.State().HeldRecord;
  const QString good = PathOf(QStringLiteral("good.csv"));
  w.ui.saveAnswers.push_back(good);
  scope.ChooseMenuItem(QStringLiteral("SaveRecord1"));
  ASSERT_TRUE(w.ui.errors.isEmpty()) << Errors();
  const QByteArray goodBytes = FileBytes(good);
  ASSERT_FALSE(goodBytes.isEmpty());
  // The first data line's CH1 code, and the description's CH1 scale.
  const qsizetype dataStart = goodBytes.indexOf("\r\n1,") + 2;
  const QByteArray firstData = goodBytes.mid(dataStart, goodBytes.indexOf("\r\n", dataStart) - dataStart);
  ASSERT_TRUE(firstData.startsWith("1,")) << firstData.toStdString();
  const QByteArray badCode = "1,256," + firstData.mid(firstData.indexOf(',', 2) + 1);
  // CH2 described on the 1 V/div row of the high range, consistently, while
  // its lines hold the volts of its 200 mV/div row on the low range.
  const QByteArray otherRange = QByteArray(goodBytes)
                                    .replace("Range,high,low", "Range,high,high")
                                    .replace("Volts/div,1V/DIV,200mV/DIV", "Volts/div,1V/DIV,1V/DIV")
                                    .replace("Scale,393,312", "Scale,393,393");
  // Cut off at a line's end half way, after a description that would move
  // the markers.
  const QByteArray zeroRows =
      QStringLiteral("0 V row,%1,%2").arg(scope.State().CH1VertPos).arg(scope.State().CH2VertPos).toLatin1();
  ASSERT_TRUE(goodBytes.contains(zeroRows));
  QByteArray truncated = QByteArray(goodBytes).replace(zeroRows, "0 V row,50,350");
  truncated.truncate(truncated.indexOf("\r\n", truncated.size() / 2) + 2);
  // The screen, the readings, the export and the front panel before.
  const Shown before = View();
  const QStringList panel = scope.Snapshot().Lines();
  const QString position = PositionText(scope);

  struct Case {
    const char* what;
    QByteArray bytes;
    const char* message;  // how the message begins
    bool vanished = false;
  };
  const Case cases[] = {
      {"truncated in its data lines", truncated, "The record file ends after line "},
      {"a code out of 0..255", QByteArray(goodBytes).replace(firstData + "\r\n", badCode + "\r\n"),
       "Line 20 of the record file: CH1 code 256 is outside 0..255"},
      {"a scale that contradicts its volts/div", QByteArray(goodBytes).replace("Scale,393,", "Scale,197,"),
       "Line 15 of the record file: CH1's scale 197 on the high range is 2V/DIV"},
      {"a range that contradicts its data lines", otherRange, "Line 20 of the record file: CH2 reads "},
      {"a layout its time base cannot make", QByteArray(goodBytes).replace("Layout,standard", "Layout,stretched"),
       "Line 8 of the record file: the layout above is stretched"},
      {"a wrong header", QByteArray(goodBytes).replace(record_file::RecordTitle, "Tessaron USB Oscilloscope Export"),
       "Line 1 of the record file: \"Tessaron USB Oscilloscope Export\" is not"},
      {"50 MB of noise", QByteArray(), "Line 1 of the record file: "},
      {"vanished after the dialog", goodBytes, "Cannot open file ", true},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QString path = PathOf(QStringLiteral("bad%1.csv").arg(++n));
    if (c.bytes.isEmpty()) {
      QByteArray noise(50 * 1024 * 1024, '\0');
      std::uint32_t x = 2463534242u;
      for (char& b : noise) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        b = char(x);
      }
      ASSERT_NO_FATAL_FAILURE(WriteFile(path, noise));
    } else {
      if (!c.vanished) {
        ASSERT_NE(c.bytes, goodBytes) << "the case changed nothing";
      }
      ASSERT_NO_FATAL_FAILURE(WriteFile(path, c.bytes));
    }
    w.ui.afterFileDialog = [&](const QString& answer) {
      if (c.vanished) QFile::remove(answer);
    };
    w.ui.errors.clear();
    w.ui.openAnswers.push_back(path);
    scope.ChooseMenuItem(QStringLiteral("OpenRecord1"));
    w.ui.afterFileDialog = nullptr;
    ASSERT_EQ(w.ui.errors.size(), 1) << Errors();
    const QString message = w.ui.errors[0];
    EXPECT_TRUE(message.startsWith(QLatin1String(c.message))) << message.toStdString();
    if (c.vanished)
      EXPECT_TRUE(message.endsWith(QFileInfo(path).fileName())) << message.toStdString();
    else
      EXPECT_TRUE(message.endsWith(QLatin1String("; nothing was opened"))) << message.toStdString();
    EXPECT_TRUE(scope.State().HeldRecord == held) << "the held record changed";
    EXPECT_EQ(PositionText(scope), position);
    EXPECT_EQ(scope.Snapshot().Lines(), panel) << "the front panel changed";
    w.ui.errors.clear();
    ExpectSameView(View(), before);
    std::cout << "  " << c.what << ": " << message.toStdString() << "\n";
  }
  // The history is the two records it was: the older is one step back.
  scope.ChooseMenuItem(QStringLiteral("PreviousRecord1"));
  EXPECT_TRUE(PositionText(scope).startsWith(QStringLiteral("Record 1 of 2  "))) << PositionText(scope).toStdString();
  scope.ChooseMenuItem(QStringLiteral("LatestRecord1"));
  EXPECT_TRUE(scope.State().HeldRecord == Own(held));
}

}  // namespace
