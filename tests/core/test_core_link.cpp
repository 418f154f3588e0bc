// The link's state machine against a real tessaron-sim on a pseudo-terminal,
// with an event loop and no window: the same commands and stop bytes go
// over the wire as the window sends, single and continuous, STOP in the
// middle of a reply, a late last byte, a reply that stalls, an instrument
// that vanishes, floods or stays silent.
#include <gtest/gtest.h>

#include <QTimer>

#include "core/ScopeLink.h"
#include "support/SimProcess.h"
#include "support/QtPrint.h"
#include "support/WaitFor.h"

#include <QCoreApplication>

#include <algorithm>
#include <vector>

namespace {

using core::ScopeLink;
using Reason = ScopeLink::StopReason;
using State = ScopeLink::State;

// The sim's inputs held at 0 V: in normal trigger mode no edge ever comes,
// so a capture is never answered.
const QStringList kNoEdge = {"--ch1", "dc:0:0:0", "--ch2", "dc:0:0:0"};
// A reply takes about 100 ms to come in (3001 bytes of 11 bits).
const QStringList kPacedReply = {"--baud=330000"};

// The front panel the window's capture tests start from: both channels at
// 5 V/div, 1 ms/div... as support/CapturePanel.h sets the window's.
core::PanelSettings CapturePanel() {
  core::PanelSettings p;
  for (int n : {1, 2}) {
    p.SetChannelOn(n, true);
    p.SetVoltsRow(n, 5);
  }
  p.SetZeroRow(1, 150);
  p.SetZeroRow(2, 300);
  p.SetTimeBase(3);
  p.SetTriggerSource(core::TriggerSource::CH1);
  p.SetTriggerEdge(true);
  p.SetAutoTrigger(true);
  p.SetTriggerLevel(1, 0);
  return p;
}

class Link : public ::testing::Test {
 protected:
  void Start(const QStringList& options = {}, bool continuous = false) {
    sim.Start(options);
    ASSERT_TRUE(link.Port().Open(sim.Link().toStdString(), "9600", "NONE", "8", false));
    core::PanelSettings p = CapturePanel();
    p.SetContinuous(continuous);
    link.SetPanel(p);
    QObject::connect(&link, &ScopeLink::recordReceived, [this](const core::Record& r) { records.push_back(r); });
    QObject::connect(&link, &ScopeLink::stopped, [this](Reason r) { reasons.push_back(r); });
    QObject::connect(&link, &ScopeLink::replyProgress, [this](int bytes, const core::Record&) {
      progress.push_back(bytes);
    });
  }
  void NormalTrigger() {
    core::PanelSettings p = link.Panel();
    p.SetAutoTrigger(false);
    p.SetTriggerLevel(1, 50);  // 4 V: the held inputs never reach it
    link.SetPanel(p);
  }
  bool Quiet() const { return !link.Running() && link.CurrentState() == State::Idle; }

  SimProcess sim;
  ScopeLink link;
  std::vector<core::Record> records;
  std::vector<Reason> reasons;
  std::vector<int> progress;
};

TEST(CoreLinkProgram, RunsWithoutAnyGuiApplication) {
  EXPECT_NE(QCoreApplication::instance(), nullptr);
  EXPECT_FALSE(QCoreApplication::instance()->inherits("QGuiApplication"));
}

TEST_F(Link, SingleTakesOneRecordInTheLayoutItAskedFor) {
  Start();
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return !reasons.empty(); }));
  EXPECT_EQ(reasons, std::vector<Reason>{Reason::SingleDone});
  ASSERT_EQ(records.size(), 1u);
  RunEventsFor(200);
  EXPECT_EQ(sim.Wire(), "AA");
  EXPECT_EQ(sim.Frames().value(0), "AA 81 F3 1C 00 D0 08 ED 03");
  EXPECT_TRUE(Quiet());
  const core::Record& r = records.front();
  EXPECT_EQ(r.sequence, 1u);
  EXPECT_EQ(r.samplesReceived, 3000);
  EXPECT_EQ(r.layout, screen_model::RecordLayout::Standard);
  EXPECT_TRUE(r.received.isValid());
  // The sine and the square arrived in their channels.
  const auto varies = [](const capture_protocol::SampleBuffer& s) {
    return std::any_of(s.begin() + 2, s.begin() + 1501, [&](std::uint8_t v) { return v != s[1]; });
  };
  EXPECT_TRUE(varies(r.ch1));
  EXPECT_TRUE(varies(r.ch2));
  EXPECT_EQ(link.Held(), r);
}

TEST_F(Link, ContinuousRunsUntilStopAndEndsWithTheStopByte) {
  Start({}, true);
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return records.size() >= 3; }));
  link.Stop();
  EXPECT_EQ(reasons, std::vector<Reason>{Reason::Stop});
  EXPECT_FALSE(link.Running());
  ASSERT_TRUE(WaitFor([&] { return Quiet() && static_cast<std::size_t>(sim.Frames().size()) >= records.size() + 1; }));
  const int received = static_cast<int>(records.size());
  RunEventsFor(100);
  EXPECT_EQ(static_cast<int>(records.size()), received);
  // One command a record, and at most the one pending when STOP came.
  const int commands = sim.Commands();
  EXPECT_TRUE(commands == received || commands == received + 1) << sim.Wire().toStdString();
  EXPECT_TRUE(SimProcess::IsStop(sim.Frames().back()));
  for (int i = 0; i < received; ++i) EXPECT_EQ(records[static_cast<std::size_t>(i)].sequence, std::uint64_t(i + 1));
}

TEST_F(Link, ChoosingSingleDuringAContinuousRunEndsAfterTheRecordInProgress) {
  Start(kPacedReply, true);
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return sim.Commands() == 2 && link.CurrentState() != State::Done; }, 10000));
  link.SetContinuous(false);
  ASSERT_TRUE(WaitFor([&] { return !reasons.empty(); }, 10000));
  EXPECT_EQ(reasons, std::vector<Reason>{Reason::SingleDone});
  RunEventsFor(300);
  EXPECT_EQ(sim.Wire(), "AA AA");
  EXPECT_EQ(records.size(), 2u);
}

TEST_F(Link, StopInTheMiddleOfAPacedReplyDiscardsItAndWaitsForTheQuietLine) {
  Start(kPacedReply, true);
  link.Run();
  // Part of the reply is in, already split into its channels.
  ASSERT_TRUE(WaitFor([&] { return link.CurrentState() == State::Receiving && !progress.empty(); }, 10000));
  EXPECT_GT(progress.back(), 0);
  EXPECT_LT(progress.back(), capture_protocol::CaptureReplyLength);
  link.Stop();
  EXPECT_EQ(reasons, std::vector<Reason>{Reason::Stop});
  // RUN at once: nothing new goes out until the cut reply has stopped coming.
  link.Run();
  EXPECT_EQ(link.CurrentState(), State::Settling);
  ASSERT_TRUE(WaitFor([&] { return records.size() >= 1; }, 10000));
  link.Stop();
  ASSERT_TRUE(WaitFor([&] { return Quiet(); }, 10000));
  ASSERT_TRUE(WaitFor([&] { return sim.Frames().size() >= 4; }));
  EXPECT_TRUE(sim.Wire().startsWith("AA FF AA")) << sim.Wire().toStdString();
  // The record after the stop is whole: nothing of the cut reply leaked in.
  EXPECT_EQ(records.front().samplesReceived, 3000);
  EXPECT_EQ(records.front().sequence, 1u);
}

TEST_F(Link, ALateLastByteIsWaitedForBrieflyAndAVeryLateOneIsNot) {
  struct Case {
    const char* lateLast;
    int samples;
  };
  for (const Case& c : {Case{"late-last=4", 3000}, Case{"late-last=80", 2999}}) {
    records.clear();
    reasons.clear();
    Start({"--fault", c.lateLast});
    link.Run();
    ASSERT_TRUE(WaitFor([&] { return !reasons.empty(); })) << c.lateLast;
    ASSERT_EQ(records.size(), 1u) << c.lateLast;
    EXPECT_EQ(records.front().samplesReceived, c.samples) << c.lateLast;
    link.Port().Close();
    QObject::disconnect(&link, nullptr, nullptr, nullptr);
  }
}

TEST_F(Link, AReplyThatStallsIsGivenUpLikeAStop) {
  struct Case {
    bool continuous;
    const char* wireStart;
  };
  for (const Case& c : {Case{false, "AA FF"}, Case{true, "AA FF AA"}}) {
    records.clear();
    reasons.clear();
    Start({"--fault", "truncate=1000"}, c.continuous);
    link.Run();
    ASSERT_TRUE(WaitFor([&] { return sim.Wire().startsWith(c.wireStart); }, 10000)) << sim.Wire().toStdString();
    EXPECT_TRUE(records.empty());
    if (c.continuous) {
      EXPECT_TRUE(link.Running());
      EXPECT_TRUE(reasons.empty());
      link.Stop();
    } else {
      EXPECT_EQ(reasons, std::vector<Reason>{Reason::ReplyStalled});
      EXPECT_FALSE(link.Running());
    }
    ASSERT_TRUE(WaitFor([&] { return Quiet(); }, 10000));
    link.Port().Close();
    QObject::disconnect(&link, nullptr, nullptr, nullptr);
  }
}

TEST_F(Link, ASilentInstrumentIsWaitedForUntilStop) {
  Start({"--fault", "silent"});
  link.Run();
  RunEventsFor(500);
  EXPECT_EQ(link.CurrentState(), State::Armed);
  EXPECT_TRUE(records.empty());
  int ticks = 0;
  QObject::connect(&link, &ScopeLink::hourglassTick, [&] { ++ticks; });
  ASSERT_TRUE(WaitFor([&] { return ticks >= 2; }));
  link.Stop();
  ASSERT_TRUE(WaitFor([&] { return Quiet(); }));
  ASSERT_TRUE(WaitFor([&] { return sim.Frames().size() >= 2; }));
  EXPECT_EQ(sim.Wire(), "AA FF");
  EXPECT_EQ(reasons, std::vector<Reason>{Reason::Stop});
}

TEST_F(Link, AFloodingInstrumentIsReadAsRepliesAndStopped) {
  Start({"--fault", "flood"}, true);
  // Whatever floods in fills reply after reply; the loop is never held: a
  // timer due at every pass of the event loop runs between any two records.
  bool passSinceRecord = true;
  int recordsBackToBack = 0;
  QTimer everyPass;
  everyPass.setInterval(0);
  QObject::connect(&everyPass, &QTimer::timeout, [&] { passSinceRecord = true; });
  QObject::connect(&link, &core::ScopeLink::recordReceived, [&] {
    if (!passSinceRecord) ++recordsBackToBack;
    passSinceRecord = false;
  });
  everyPass.start();
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return records.size() >= 20; }, 10000));
  link.Stop();
  everyPass.stop();
  EXPECT_EQ(recordsBackToBack, 0);
  // The line never falls quiet; the discard gives up after one reply time.
  ASSERT_TRUE(WaitFor([&] { return Quiet(); }, 10000));
  ASSERT_TRUE(WaitFor([&] { return SimProcess::IsStop(sim.Frames().value(sim.Frames().size() - 1)); }));
  EXPECT_EQ(reasons, std::vector<Reason>{Reason::Stop});
}

TEST_F(Link, AnInstrumentThatVanishesEndsTheRunAtOnce) {
  Start(kNoEdge, true);
  NormalTrigger();
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return sim.Commands() == 1; }));
  EXPECT_EQ(link.CurrentState(), State::Armed);
  sim.Kill();
  ASSERT_TRUE(WaitFor([&] { return !reasons.empty(); }));
  EXPECT_EQ(reasons, std::vector<Reason>{Reason::DeviceGone});
  EXPECT_FALSE(link.Port().IsOpen);
  EXPECT_TRUE(Quiet());
}

TEST_F(Link, ANewLevelReissuesThePendingCaptureAndStopEndsIt) {
  Start(kNoEdge, true);
  NormalTrigger();
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return sim.Commands() == 1; }));
  core::PanelSettings p = link.Panel();
  p.SetTriggerLevel(1, 60);
  link.SetPanel(p);
  ASSERT_TRUE(WaitFor([&] { return sim.Commands() == 2; }));
  EXPECT_TRUE(link.Running());
  link.Stop();
  ASSERT_TRUE(WaitFor([&] { return sim.Frames().size() >= 4; }));
  RunEventsFor(100);
  // Never two commands outstanding: each is ended before the next.
  EXPECT_EQ(sim.Wire(), "AA FF AA FF");
  EXPECT_EQ(sim.Frames().value(2).split(' ').value(1), "45");  // 129 - 60
  EXPECT_EQ(reasons, std::vector<Reason>{Reason::Stop});
}

TEST_F(Link, ANewTimeBaseStopsAndRestartsAfterTheDelay) {
  Start(kNoEdge, true);
  NormalTrigger();
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return sim.Commands() == 1; }));
  core::PanelSettings p = link.Panel();
  p.SetTimeBase(5);
  link.SetPanel(p);
  EXPECT_EQ(reasons, std::vector<Reason>{Reason::SettingChanged});
  EXPECT_FALSE(link.Running());
  EXPECT_TRUE(link.RestartPending());
  ASSERT_TRUE(WaitFor([&] { return link.Running() && sim.Commands() == 2; }));
  link.Stop();
  ASSERT_TRUE(WaitFor([&] { return sim.Frames().size() >= 4; }));
  EXPECT_EQ(sim.Wire(), "AA FF AA FF");
  // Mode byte: time base 3 before (0x18 in normal mode), 5 after (0x28).
  EXPECT_EQ(sim.Frames().value(0).split(' ').value(3), "18");
  EXPECT_EQ(sim.Frames().value(2).split(' ').value(3), "28");
}

TEST_F(Link, TheReplyIsSplitAndDescribedByTheCommandItAnswers) {
  Start(kPacedReply);
  core::PanelSettings p = link.Panel();
  p.SetTimeBase(2);
  p.SetChannelOn(2, false);  // CH1 alone at 1 MS/s
  link.SetPanel(p);
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return sim.Commands() == 1; }));
  // CH1 off, CH2 on and another row while the CH1 record is on its way.
  p.SetChannelOn(1, false);
  p.SetChannelOn(2, true);
  p.SetVoltsRow(1, 0);
  link.SetPanel(p);
  ASSERT_TRUE(WaitFor([&] { return records.size() == 1; }, 10000));
  const core::Record& r = records.front();
  EXPECT_EQ(r.layout, screen_model::RecordLayout::ThreeThousand);
  EXPECT_EQ(r.recordChannel, 1);
  EXPECT_TRUE(r.Channel(1).highRange);
  EXPECT_TRUE(std::all_of(r.ch2.begin(), r.ch2.end(), [](std::uint8_t s) { return s == 0; }));
  EXPECT_TRUE(std::any_of(r.ch1.begin() + 1501, r.ch1.end(), [](std::uint8_t s) { return s != 0; }));
}

// ---- The connection watch -------------------------------------------------

TEST(CoreWatch, FindsTheInstrumentReadsItsIdentityAndNoticesItGoneAndBack) {
  SimProcess sim;
  sim.Start();
  ScopeLink link;
  std::vector<bool> changes;
  QObject::connect(&link, &ScopeLink::connectionChanged, [&](bool on) { changes.push_back(on); });
  link.SetPortName(sim.Link());
  link.StartWatch();
  ASSERT_TRUE(WaitFor([&] { return link.DeviceFound(); }));
  EXPECT_EQ(link.Identity(), (core::DeviceIdentity{"Tessaron USB Oscilloscope Rev A", "S.I.M", "Dec. 2006"}));
  EXPECT_EQ(sim.IdentifyQueries(), 2);  // the watch's query, then the detection's

  sim.Kill();
  ASSERT_TRUE(WaitFor([&] { return !link.DeviceFound(); }));
  EXPECT_FALSE(link.Port().IsOpen);
  sim.Start();
  ASSERT_TRUE(WaitFor([&] { return link.DeviceFound(); }));
  EXPECT_EQ(changes, (std::vector<bool>{true, false, true}));
}

TEST(CoreWatch, AWrongOrMissingAnswerIsNoInstrument) {
  for (const char* fault : {"wrong-id", "silent"}) {
    SimProcess sim;
    sim.Start({"--fault", fault});
    ScopeLink link;
    link.SetPortName(sim.Link());
    link.StartWatch();
    ASSERT_TRUE(WaitFor([&] { return sim.IdentifyQueries() >= 2; })) << fault;
    EXPECT_FALSE(link.DeviceFound()) << fault;
  }
}

TEST(CoreWatch, NoQueryGoesOutWhileACaptureIsPending) {
  SimProcess sim;
  sim.Start(kNoEdge);
  ScopeLink link;
  link.SetPortName(sim.Link());
  link.StartWatch();
  ASSERT_TRUE(WaitFor([&] { return link.DeviceFound(); }));
  core::PanelSettings p = CapturePanel();
  p.SetAutoTrigger(false);
  p.SetTriggerLevel(1, 50);
  link.SetPanel(p);
  link.Run();
  ASSERT_TRUE(WaitFor([&] { return sim.Commands() == 1; }));
  const int queries = sim.IdentifyQueries();
  RunEventsFor(2500);
  EXPECT_EQ(sim.IdentifyQueries(), queries);
  link.Stop();
  // Stopped, the watch asks again once the line is quiet.
  ASSERT_TRUE(WaitFor([&] { return sim.IdentifyQueries() > queries; }));
  EXPECT_TRUE(link.DeviceFound());
}

}  // namespace
