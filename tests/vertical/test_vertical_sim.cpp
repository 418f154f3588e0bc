// The front panel on the wire: after keys and knobs are used on the real
// window, the capture commands that reach a tessaron-sim process carry the
// new ranges, time base index and channel byte; a time base change while a
// capture is awaited stops acquisition and restarts it with the new index.
//
// While acquisition runs the test body waits inside GetData's nested
// dispatch; it acts from there through a Script of steps.

#include "VerticalDriving.h"
#include "support/ScopeWindow.h"
#include "tests/acquisition/test_runstop_sim.h"

#include <QAction>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Both inputs held at 0 V: in normal mode no edge comes and a capture waits.
const QStringList kNoEdge = {"--ch1", "dc:0:0:0", "--ch2", "dc:0:0:0"};

// The bytes of a capture command as the instrument logged it.
std::vector<int> Bytes(const QByteArray& frame) {
  std::vector<int> bytes;
  for (const QByteArray& hex : frame.split(' ')) bytes.push_back(hex.toInt(nullptr, 16));
  return bytes;
}

QList<std::vector<int>> CaptureCommands(const RunStopSim& sim) {
  QList<std::vector<int>> commands;
  for (const QByteArray& f : sim.Frames())
    if (RunStopSim::IsCommand(f)) commands.push_back(Bytes(f));
  return commands;
}

// Points on the knob faces (Image7 200 x 200, Image9 225 x 225).
constexpr QPoint kVolts100mV{100, 190};  // 6 o'clock
constexpr QPoint kVolts200mV{10, 100};   // 9 o'clock
constexpr QPoint kTime50us{100, 200};    // angle 97
constexpr QPoint kTime200us{32, 138};    // angle 161
constexpr QPoint kTime5ms{112, 20};      // angle 270

// The order of capture commands ("AA") and stop bytes ("FF") on the wire;
// the connection watch's identify queries between runs are left out.
QByteArray CaptureWire(const RunStopSim& sim) {
  QByteArrayList kinds;
  for (const QByteArray& f : sim.Frames())
    if (RunStopSim::IsCommand(f) || RunStopSim::IsStop(f)) kinds.push_back(RunStopSim::IsCommand(f) ? "AA" : f);
  return kinds.join(' ');
}

class PanelOnTheWire : public ::testing::Test {
 public:
  void Start(const QStringList& simOptions = {}) {
    sim = std::make_unique<RunStopSim>(simOptions);
    ASSERT_TRUE(f.SerialPort.Open(sim->Device(), "9600", "NONE", "8", false));
    ScopeDriver(f).MenuItem(QStringLiteral("CH11"))->trigger();  // CH1 source, rising, auto: the sine answers at once
    ScopeDriver(f).MenuItem(QStringLiteral("Rising1"))->trigger();
    scope.State().AutoTrigger = 1;
    w.ui.errors.clear();
  }
  void Press(QWidget* key) { QTest::mouseClick(key, Qt::LeftButton, {}, QPoint(10, 10)); }
  bool Stopped() const { return scope.State().Running == 0 && scope.State().AwaitingData == 0; }

  ScopeWindow w{true, /*stopWatch=*/true};
  TForm1& f = *w.form;
  ScopeDriver& scope = w.scope;
  std::unique_ptr<RunStopSim> sim;
};

struct WireCase {
  const char* name;
  std::function<void(PanelOnTheWire&, TForm1&)> panel;
  int edgeRange;  // byte 3: edge bits, CH1 range bit 6, CH2 range bit 7
  int mode;       // byte 4: index in bits 3..7, auto bit 2, source bits 0..1
  int channel;    // byte 5: 0x18 / 0x28 for the 1 MS/s record of CH1 / CH2
};

class CommandAfterPanel : public PanelOnTheWire, public ::testing::WithParamInterface<WireCase> {};

TEST_P(CommandAfterPanel, CarriesWhatThePanelShows) {
  const WireCase& c = GetParam();
  Start();
  c.panel(*this, f);
  scope.ChannelNotice()->hide();
  ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
  ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();  // single: returns once the capture is in
  ASSERT_TRUE(WaitFor([&] { return Stopped() && sim->Commands() >= 1; }));
  const QList<std::vector<int>> commands = CaptureCommands(*sim);
  ASSERT_EQ(commands.size(), 1) << CaptureWire(*sim).toStdString();
  const std::vector<int>& command = commands.front();
  ASSERT_EQ(command.size(), 9u);
  EXPECT_EQ(command[2], c.edgeRange) << std::hex << command[2];
  EXPECT_EQ(command[3], c.mode) << std::hex << command[3];
  EXPECT_EQ(command[4], c.channel) << std::hex << command[4];
  EXPECT_EQ(scope.State().HeldRecord.timeBaseIndex, c.mode >> 3);
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join(" | ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Panels, CommandAfterPanel,
    ::testing::Values(
        WireCase{"DesignPanel_BothHighRanges_100us", [](PanelOnTheWire&, TForm1&) {}, 0xF3, 0x1C, 0x00},
        WireCase{"Ch1KnobTo100mV_Ch1LowRange",
                 [](PanelOnTheWire&, TForm1& form) { ScopeDriver scope(form); TurnKnob(scope.VoltsKnob(), {kVolts100mV}); }, 0xB3, 0x1C, 0x00},
        WireCase{"Ch2KeyAndKnobTo200mV_Ch2LowRange",
                 [](PanelOnTheWire& fixture, TForm1& form) {
                   ScopeDriver scope(form);
                   fixture.Press(scope.ChannelKey(2));
                   TurnKnob(scope.VoltsKnob(), {kVolts200mV});
                 },
                 0x73, 0x1C, 0x00},
        WireCase{"TimeKnobTo5ms_Index8", [](PanelOnTheWire&, TForm1& form) { ScopeDriver scope(form); TurnKnob(scope.TimeKnob(), {kTime5ms}); }, 0xF3,
                 8 * 8 + 4, 0x00},
        WireCase{"FiftyMicrosecondsCh1Only_1MSofCh1",
                 [](PanelOnTheWire&, TForm1& form) { ScopeDriver scope(form); TurnKnob(scope.TimeKnob(), {kTime50us}); }, 0xF3, 2 * 8 + 4, 0x18},
        WireCase{"FiftyMicrosecondsBoth_500k",
                 [](PanelOnTheWire& fixture, TForm1& form) {
                   ScopeDriver scope(form);
                   TurnKnob(scope.TimeKnob(), {kTime50us});
                   fixture.Press(scope.ChannelKey(2));
                 },
                 0xF3, 2 * 8 + 4, 0x00},
        // CH1 off on this row moves the CH1 source to CH2 (source bits 01).
        WireCase{"FiftyMicrosecondsCh2Only_1MSofCh2_SourceCh2",
                 [](PanelOnTheWire& fixture, TForm1& form) {
                   ScopeDriver scope(form);
                   TurnKnob(scope.TimeKnob(), {kTime50us});
                   fixture.Press(scope.ChannelKey(2));
                   fixture.Press(scope.ChannelKey(1));
                   fixture.Press(scope.ChannelOffKey());
                 },
                 0xF3, 2 * 8 + 4 + 1, 0x28}),
    [](const ::testing::TestParamInfo<WireCase>& param) { return std::string(param.param.name); });

TEST_F(PanelOnTheWire, TimeBaseChangeWhileACaptureIsAwaitedRestartsWithTheNewIndex) {
  Start(kNoEdge);
  scope.State().AutoTrigger = 0;
  scope.State().CH1TriggerV = 50;  // 4 V: the held inputs never reach it
  ScopeDriver(f).MenuItem(QStringLiteral("Continuous"))->trigger();
  bool noticeDuringRestart = true;
  Script script([this] { StopIfRunning(f); }, 20000);
  script
      .When([&] { return scope.State().AwaitingData == 1 && sim->Commands() == 1; },
            [&] {
              TurnKnob(scope.TimeKnob(), {kTime200us});
              noticeDuringRestart = !scope.ChannelNotice()->isHidden();
            })
      .When([&] { return scope.State().Running == 1 && scope.State().AwaitingData == 1 && sim->Commands() == 2; },
            [&] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  QTimer::singleShot(0, [this] { ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger(); });
  ASSERT_TRUE(WaitFor([&] { return script.Done() && Stopped() && scope.State().RestartPending == 0; }, 25000));
  ASSERT_FALSE(script.TimedOut());
  RunEventsFor(150);

  // Stopped, restarted with index 4, stopped by the user.
  EXPECT_EQ(CaptureWire(*sim), "AA FF AA FF");
  const QList<std::vector<int>> commands = CaptureCommands(*sim);
  ASSERT_EQ(commands.size(), 2);
  EXPECT_EQ(commands[0][3] >> 3, 3);
  EXPECT_EQ(commands[1][3] >> 3, 4);
  // The restarted run asked for index 4; no reply came, so no record is held
  // and none is described by it.
  EXPECT_EQ(f.CommandTimeBase, 4);
  EXPECT_EQ(scope.State().HeldRecord.timeBaseIndex, 0);
  EXPECT_EQ(scope.State().HeldRecord.sequence, 0u);
  EXPECT_EQ(scope.State().TimeBaseIndex, 4);
  EXPECT_FALSE(noticeDuringRestart);
  EXPECT_FALSE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("StatStopResetTimer"))));
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join(" | ").toStdString();
}

TEST_F(PanelOnTheWire, TimeBaseChangeWhileStoppedWaitsForTheNextRun) {
  Start();
  ScopeDriver(f).MenuItem(QStringLiteral("Single"))->trigger();
  ScopeDriver(f).MenuItem(QStringLiteral("RUNSTOP"))->trigger();
  ASSERT_TRUE(WaitFor([&] { return Stopped() && sim->Commands() == 1; }));
  ASSERT_EQ(scope.State().HeldRecord.timeBaseIndex, 3);
  TurnKnob(scope.TimeKnob(), {kTime200us});
  RunEventsFor(200);
  EXPECT_EQ(scope.State().TimeBaseIndex, 4);
  EXPECT_EQ(scope.State().HeldRecord.timeBaseIndex, 3);  // the held record is shown as captured
  EXPECT_EQ(CaptureWire(*sim), "AA");
  EXPECT_FALSE(scope.ChannelNotice()->isHidden());
  EXPECT_EQ(scope.State().Running, 0);
}

// While stopped, a change of trigger mode sends nothing (a command nobody
// waits for would leave the instrument armed, and its answer would be taken
// for the next run's), and a turn of the knob after it must not toggle the
// run/stop key, which would start an acquisition nobody asked for.
TEST_F(PanelOnTheWire, TimeBaseChangeAfterATriggerModeChangeWhileStoppedStartsNothing) {
  Start(kNoEdge);
  scope.State().AutoTrigger = 0;
  scope.State().CH1TriggerV = 50;
  scope.ChooseAutoTrigger();
  EXPECT_EQ(scope.State().AwaitingData, 0);
  TurnKnob(scope.TimeKnob(), {kTime200us});
  RunEventsFor(300);
  EXPECT_EQ(scope.State().TimeBaseIndex, 4);
  EXPECT_EQ(scope.State().Running, 0);
  EXPECT_EQ(scope.State().RestartPending, 0);
  EXPECT_FALSE(TForm1::Enabled(ScopeDriver(f).Timer(QStringLiteral("StatStopResetTimer"))));
  EXPECT_EQ(CaptureWire(*sim), "");
  EXPECT_TRUE(w.ui.errors.isEmpty()) << w.ui.errors.join(" | ").toStdString();
}

}  // namespace
