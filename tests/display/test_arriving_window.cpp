// A reply drawn while it arrives, on the real window against tessaron-sim at
// the instrument's line speed (9600 baud: a reply takes 3.44 s, CH1's
// samples in the first half, CH2's in the second): each channel's part of
// the view shows as soon as its samples are in, the end of the reply is a
// whole frame pixel for pixel, and STOP half way puts the last complete
// record back unchanged.
#include <gtest/gtest.h>

#include "display/ArrivingTrace.h"
#include "display/SampleRows.h"
#include "support/CapturePanel.h"
#include "support/ScopeWindow.h"
#include "support/SimProcess.h"

#include <QAction>
#include <QElapsedTimer>
#include <QTimer>

#include <optional>
#include <string>
#include <vector>

namespace {

using screen_model::CH1Color;
using screen_model::CH2Color;
using screen_model::Dimmed;
using screen_model::Rgb;
using screen_model::RgbOf;

// CH1 at +2 V, CH2 at -2 V: each channel's trace on a row of its own.
const QStringList kPacedDcInputs = {"--baud", "--finish-replies", "--ch1", "dc:0:0:2", "--ch2", "dc:0:0:-2"};

QRgb PixelOf(Rgb c) { return qRgb(c.red, c.green, c.blue); }
const QRgb kCh1 = PixelOf(RgbOf(CH1Color));
const QRgb kCh2 = PixelOf(RgbOf(CH2Color));

std::string FirstDifference(const QImage& a, const QImage& b) {
  if (a.isNull() || b.isNull() || a.size() != b.size()) return "sizes differ";
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return std::to_string(x) + "," + std::to_string(y);
  return "";
}

// The rows of column x in that colour.
std::vector<int> RowsIn(const QImage& plot, int x, QRgb colour) {
  std::vector<int> rows;
  for (int y = 0; y < plot.height(); ++y)
    if (plot.pixel(x, y) == colour) rows.push_back(y);
  return rows;
}

int Count(const QImage& plot, QRgb colour) {
  int n = 0;
  for (int y = 0; y < plot.height(); ++y)
    for (int x = 0; x < plot.width(); ++x) n += plot.pixel(x, y) == colour;
  return n;
}

class ArrivingReply : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_THROW(sim.Start(kPacedDcInputs));
    ASSERT_TRUE(f.SerialPort.Open(sim.Link().toStdString(), "9600", "NONE", "8", false));
    // Both channels on, auto trigger, single capture.
    SetCapturePanel(f);
    scope.ChooseSingle();
    // The view at samples 503..999.
    ScopeDriver(f).MenuItem(QStringLiteral("ResetHorizontalView1"))->trigger();
    // The first progress of a reply comes with its first bytes.
    QObject::connect(&f.Link, &core::ScopeLink::replyProgress, &f, [this] {
      if (!sinceFirstByte.isValid()) sinceFirstByte.start();
    });
  }
  bool Stopped() const { return scope.State().Running == 0 && scope.State().AwaitingData == 0; }
  bool Receiving() const { return f.Link.CurrentState() == core::ScopeLink::State::Receiving; }
  const QImage& Plot() const { return f.PlotBitmap; }
  void Run() {
    sinceFirstByte.invalidate();
    ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
  }
  void CaptureWhole() {
    const std::uint64_t before = scope.State().HeldRecord.sequence;
    Run();
    ASSERT_TRUE(WaitFor([&] { return Stopped() && scope.State().HeldRecord.sequence > before; }, 15000)) << Errors();
  }
  // The plot a whole frame of the held record draws.
  QImage WholeRedraw() {
    scope.DrawHeldRecord();
    return Plot().copy();
  }
  std::string Errors() const { return w.ui.errors.join('\n').toStdString(); }
  // Whether the window drew this progress: it draws at most one a 100 ms.
  bool Drew(const core::ReplyArrival& arrival) const {
    return f.ArrivingShown && f.LastArrivingFrame.arrival == arrival;
  }
  // Each arriving frame the window draws is drawn again from nothing: the
  // columns it redrew over the last one must be all that changed, on the
  // plot and on the strip.
  void CompareEachFrameWithAWholeOne() {
    QObject::connect(&f.Link, &core::ScopeLink::samplesArriving, &f,
                     [this](const core::Record& partial, const core::ReplyArrival& arrival) {
                       if (!Drew(arrival)) return;
                       const QImage drawn = Plot().copy();
                       const QImage strip = f.PreviewBitmap.copy();
                       f.ArrivingShown = false;
                       f.DrawArrivingFrame(partial, arrival);
                       ++framesCompared;
                       const std::string plotDiffers = FirstDifference(drawn, Plot());
                       const std::string stripDiffers = FirstDifference(strip, f.PreviewBitmap);
                       if (!plotDiffers.empty() || !stripDiffers.empty())
                         frameDifferences.push_back(std::to_string(arrival.Total()) + " samples in: plot at " +
                                                    plotDiffers + ", strip at " + stripDiffers);
                     });
  }

  SimProcess sim;
  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  QElapsedTimer sinceFirstByte;
  int framesCompared = 0;
  std::vector<std::string> frameDifferences;
};

TEST_F(ArrivingReply, EachChannelsPartShowsWhileArrivingAndTheEndIsAWholeFrame) {
  // The first reply, over the empty screen.
  std::optional<QImage> ch2Half;
  int bytesAtCh2Half = 0;
  QObject::connect(&f.Link, &core::ScopeLink::samplesArriving, &f,
                   [&](const core::Record&, const core::ReplyArrival& arrival) {
                     // Told after the window drew it: CH2's view is in.
                     if (!ch2Half && arrival.Samples(2) >= 999 && Drew(arrival)) {
                       ch2Half = Plot().copy();
                       bytesAtCh2Half = f.Link.ReplyBytes();
                     }
                   });
  CompareEachFrameWithAWholeOne();
  Run();
  ASSERT_TRUE(WaitFor([&] { return sinceFirstByte.isValid(); }, 10000));
  ASSERT_TRUE(WaitFor([&] { return sinceFirstByte.elapsed() >= 1300; }, 5000));
  const QImage at1300 = Plot().copy();
  const int bytesAt1300 = f.Link.ReplyBytes();
  EXPECT_TRUE(Receiving()) << "the reply is still arriving";
  EXPECT_GT(bytesAt1300, 1000);
  EXPECT_LT(bytesAt1300, 1501) << "CH2 has not begun";

  ASSERT_TRUE(WaitFor([&] { return Stopped() && scope.State().HeldRecord.sequence == 1; }, 15000)) << Errors();
  ASSERT_TRUE(ch2Half.has_value());
  EXPECT_LT(bytesAtCh2Half, 3001);
  EXPECT_EQ(scope.State().ViewStart, 503);
  EXPECT_EQ(scope.State().ViewEnd, 999);

  // The end of the reply is the whole frame of its record.
  const QImage atEnd = Plot().copy();
  EXPECT_EQ(FirstDifference(atEnd, WholeRedraw()), "");
  EXPECT_GT(framesCompared, 10);
  EXPECT_EQ(frameDifferences, std::vector<std::string>{});

  // At 1.3 s CH1's samples 503..999 are drawn where the record puts them,
  // and nothing of CH2 yet; at CH2's half CH2's are too, over CH1's.
  ASSERT_GT(Count(atEnd, kCh1), 0);
  ASSERT_GT(Count(atEnd, kCh2), 0);
  EXPECT_EQ(Count(at1300, kCh2), 0);
  for (int x = 2; x < 498; ++x) {
    ASSERT_FALSE(RowsIn(atEnd, x, kCh1).empty()) << x;
    EXPECT_EQ(RowsIn(at1300, x, kCh1), RowsIn(atEnd, x, kCh1)) << "CH1 at 1.3 s, column " << x;
    EXPECT_EQ(RowsIn(*ch2Half, x, kCh2), RowsIn(atEnd, x, kCh2)) << "CH2 at its half, column " << x;
    EXPECT_EQ(RowsIn(*ch2Half, x, kCh1), RowsIn(atEnd, x, kCh1)) << "CH1 at CH2's half, column " << x;
  }
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

TEST_F(ArrivingReply, PreviousRecordDimmedAheadOfTheMarkerAndStopPutsItBack) {
  ASSERT_NO_FATAL_FAILURE(CaptureWhole());
  const core::Record previous = scope.State().HeldRecord;
  const QImage previousPlot = Plot().copy();
  const QImage previousStrip = f.PreviewBitmap.copy();
  const QRgb dimCh1 = PixelOf(Dimmed(RgbOf(CH1Color)));
  const QRgb marker = PixelOf(screen_model::ArrivalMarkerColour);

  // CH1 half way through its view: the new trace left of the marker, the
  // previous one dimmed right of it.
  std::optional<QImage> midCh1;
  std::optional<int> markerColumn;
  QObject::connect(&f.Link, &core::ScopeLink::samplesArriving, &f,
                   [&](const core::Record&, const core::ReplyArrival& arrival) {
                     if (!midCh1 && arrival.arrivingChannel == 1 && arrival.reachedIndex > 650 &&
                         arrival.reachedIndex < 850 && Drew(arrival)) {
                       midCh1 = Plot().copy();
                       markerColumn = screen_model::ColumnOfViewSample(screen_model::RecordLayout::Standard,
                                                                       arrival.reachedIndex - 503);
                     }
                   });
  CompareEachFrameWithAWholeOne();
  Run();
  ASSERT_TRUE(WaitFor([&] { return sinceFirstByte.isValid(); }, 10000));
  ASSERT_TRUE(WaitFor([&] { return sinceFirstByte.elapsed() >= 2000; }, 5000));
  ASSERT_TRUE(Receiving());
  EXPECT_GT(f.Link.ReplyBytes(), 1501) << "stopped while CH2 arrives";
  scope.PressRun();
  ASSERT_TRUE(WaitFor([&] { return Stopped() && f.Link.CurrentState() == core::ScopeLink::State::Idle; }, 15000));

  // The screen and the held record are the previous record's.
  EXPECT_EQ(scope.State().HeldRecord, previous);
  EXPECT_EQ(FirstDifference(Plot(), previousPlot), "");
  EXPECT_EQ(FirstDifference(f.PreviewBitmap, previousStrip), "") << "the strip";
  EXPECT_EQ(FirstDifference(Plot(), WholeRedraw()), "");
  EXPECT_GT(framesCompared, 5);
  EXPECT_EQ(frameDifferences, std::vector<std::string>{});

  ASSERT_TRUE(midCh1.has_value());
  const int m = *markerColumn;
  ASSERT_GT(m, 100);
  ASSERT_LT(m, 400);
  EXPECT_EQ(RowsIn(*midCh1, m, marker).size(), 400u) << "the marker spans the plot at column " << m;
  for (int x = 2; x < m - 2; ++x) {
    EXPECT_EQ(RowsIn(*midCh1, x, kCh1), RowsIn(previousPlot, x, kCh1)) << "new CH1, column " << x;
    EXPECT_TRUE(RowsIn(*midCh1, x, dimCh1).empty()) << x;
  }
  for (int x = m + 3; x < 498; ++x) {
    EXPECT_EQ(RowsIn(*midCh1, x, dimCh1), RowsIn(previousPlot, x, kCh1)) << "dimmed CH1, column " << x;
    EXPECT_EQ(RowsIn(*midCh1, x, kCh2).empty(), true) << "CH2 is not yet in, column " << x;
    EXPECT_FALSE(RowsIn(*midCh1, x, PixelOf(Dimmed(RgbOf(CH2Color)))).empty()) << "dimmed CH2, column " << x;
  }

  // The next RUN's record is whole, and so is its frame.
  ASSERT_NO_FATAL_FAILURE(CaptureWhole());
  EXPECT_EQ(scope.State().HeldRecord.samplesReceived, 3000);
  EXPECT_EQ(scope.State().HeldRecord.sequence, previous.sequence + 1);
  const QImage atEnd = Plot().copy();
  EXPECT_EQ(FirstDifference(atEnd, WholeRedraw()), "");
  EXPECT_TRUE(w.ui.errors.isEmpty()) << Errors();
}

}  // namespace
