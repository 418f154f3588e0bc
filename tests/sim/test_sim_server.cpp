// The simulated instrument over its real pseudo-terminal, spoken to through
// the slave device with plain POSIX calls as the scope's port would.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ScopeGeometry.h"
#include "SlaveLink.h"
#include "acquisition/CaptureProtocol.h"
#include "sim/BuiltInSimulator.h"
#include "sim/SimServer.h"

using namespace sim;
namespace cp = capture_protocol;

namespace {

const std::string kIdentity = "OCSIMC5";

std::string Text(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// The front panel as it comes up: 5 V/div on both channels, 100 us/div, CH1
// rising at 32 counts (about 2.5 V), auto, trigger marker at 50 %.
cp::CaptureCommandInputs DefaultPanel() {
  cp::CaptureCommandInputs in;
  in.TriggerCH = cp::TriggerSourceCH1;
  in.CH1TriggerV = 32;
  in.RisingTrigger = true;
  in.CH1HighRange = in.CH2HighRange = true;
  in.TimeBaseIndex = 3;
  in.AutoTrigger = true;
  const PositionBytes& p = kNormalRowPositions[2];
  p.ApplyTo(in);
  return in;
}

cp::CaptureCommandInputs NormalMode(cp::CaptureCommandInputs in) {
  in.AutoTrigger = false;
  return in;
}

// Flat inputs never give an edge: every capture is an untriggered one.
SimConfig FlatInputs() {
  SimConfig config;
  config.inputs.ch1 = {Shape::DC, 0, 0, 1.0};
  config.inputs.ch2 = {Shape::DC, 0, 0, -1.0};
  config.inputs.ext = {Shape::DC, 0, 0, 0.0};
  config.autoWaitMilliseconds = 10;
  return config;
}

// The untriggered reply of FlatInputs to DefaultPanel: 1 V and -1 V on the
// high range.
// Whether the node at `path` is still the device `before` describes. A freed
// pseudo-terminal's number goes to the next one opened on the machine (with
// tests side by side, another test's instrument), under the same path, device
// number and inode number; only its change time tells the two apart. Looked
// at, never opened: opening it would reach that other instrument.
bool SameNode(const std::string& path, const struct stat& before) {
  struct stat now {};
  if (::stat(path.c_str(), &now) != 0) return false;
  return now.st_rdev == before.st_rdev && now.st_ino == before.st_ino &&
         now.st_ctim.tv_sec == before.st_ctim.tv_sec && now.st_ctim.tv_nsec == before.st_ctim.tv_nsec;
}

std::vector<std::uint8_t> FlatReply() {
  std::vector<std::uint8_t> reply(kReplyLength, 113);
  reply[0] = kStatusUntriggered;
  std::fill(reply.begin() + 1501, reply.end(), 139);
  return reply;
}

struct Bench {
  SimServer server;
  SlaveLink link;
  explicit Bench(SimConfig config) : server(std::move(config)), link(server.SlavePath()) {}

  std::vector<FrameKind> Kinds() const {
    std::vector<FrameKind> kinds;
    for (const auto& f : server.ReceivedFrames()) kinds.push_back(f.kind);
    return kinds;
  }
  bool AwaitFrames(std::size_t count) {
    return WaitFor([&] { return server.ReceivedFrames().size() >= count; });
  }
};

TEST(SimServer, AnswersTheIdentifyQuery) {
  Bench bench{SimConfig{}};
  bench.link.Send({'?'});
  EXPECT_EQ(Text(bench.link.Receive(7)), kIdentity);
  bench.link.Send({'?', '?'});
  EXPECT_EQ(Text(bench.link.Receive(14)), kIdentity + kIdentity);
}

TEST(SimServer, ReplyLayoutFollowsTheChannelByte) {
  struct Case {
    const char* name;
    bool rate1MS, channelOn1;
    std::int32_t source;
    int ch1Count, ch2Count;  // CH1 samples come first
  };
  const Case cases[] = {
      {"two channels", false, true, cp::TriggerSourceCH1, 1500, 1500},
      {"1 MS/s CH1", true, true, cp::TriggerSourceCH1, 3000, 0},
      {"1 MS/s CH2", true, false, cp::TriggerSourceCH2, 0, 3000},
      {"two channels, EXT", false, true, cp::TriggerSourceEXT, 1500, 1500},
      {"1 MS/s CH2, EXT", true, false, cp::TriggerSourceEXT, 0, 3000},
  };
  Bench bench{FlatInputs()};
  for (const Case& c : cases) {
    cp::CaptureCommandInputs in = DefaultPanel();
    in.TriggerCH = c.source;
    in.Rate1MS = c.rate1MS;
    in.ChannelOn1 = c.channelOn1;
    in.TimeBaseIndex = c.rate1MS ? 2 : 3;
    in.CH1TriggerV = in.CH2TriggerV = -300;  // level byte 255 is data inside a command
    const auto command = cp::BuildCaptureCommand(in);
    ASSERT_EQ(command[1], 255);
    bench.link.Send(command);
    const auto reply = bench.link.Receive(kReplyLength);
    ASSERT_EQ(reply.size(), kReplyLength) << c.name;
    EXPECT_EQ(reply[0], kStatusUntriggered) << c.name;
    for (int i = 1; i <= 3000; ++i) {
      ASSERT_EQ(reply[std::size_t(i)], i <= c.ch1Count ? 113 : 139) << c.name << " sample " << i;
    }
  }
  const auto frames = bench.server.ReceivedFrames();
  ASSERT_EQ(frames.size(), std::size(cases));
  for (const auto& f : frames) EXPECT_EQ(f.kind, FrameKind::Capture);
}

// The source channel's samples of a two-channel or one-channel reply, 1-based.
std::vector<int> SourceSamples(const std::vector<std::uint8_t>& reply, bool secondHalf,
                               int count) {
  std::vector<int> samples(std::size_t(count) + 1, -1);
  for (int i = 1; i <= count; ++i) samples[std::size_t(i)] = reply[std::size_t(i + (secondHalf ? count : 0))];
  return samples;
}

bool CrossesNear(const std::vector<int>& s, int index, int level, bool voltageRises) {
  for (int k : {index - 1, index, index + 1}) {
    if (k < 2 || k >= int(s.size())) continue;
    const int before = s[std::size_t(k - 1)], at = s[std::size_t(k)];
    if (voltageRises ? (before > level && at <= level) : (before < level && at >= level)) {
      return true;
    }
  }
  return false;
}

TEST(SimServer, DefaultPanelShowsAStillPictureCrossingTheLevelAtTheMarker) {
  Bench bench{SimConfig{}};
  const auto command = cp::BuildCaptureCommand(DefaultPanel());
  const int marker = SampleUnderMarker(PlotLayout::Standard, 251, 173);
  std::vector<std::uint8_t> first;
  for (int capture = 0; capture < 3; ++capture) {
    bench.link.Send(command);
    const auto reply = bench.link.Receive(kReplyLength);
    ASSERT_EQ(reply.size(), kReplyLength);
    EXPECT_EQ(reply[0], kStatusTriggered);
    const auto ch1 = SourceSamples(reply, false, 1500);
    EXPECT_TRUE(CrossesNear(ch1, marker, command[1] - 2, true)) << "capture " << capture;
    // A few periods of each channel: the sine spans most of +-4 V, the square
    // sits at its two levels.
    const auto [low, high] = std::minmax_element(ch1.begin() + 1, ch1.end());
    EXPECT_LE(*low, 126 - 48);
    EXPECT_GE(*high, 126 + 48);
    if (first.empty()) {
      first = reply;
    } else {
      for (std::size_t i = 1; i < reply.size(); ++i) {
        ASSERT_LE(std::abs(int(reply[i]) - int(first[i])), 1) << "sample " << i;
      }
    }
  }
}

TEST(SimServer, EdgeLandsUnderTheMarkerInEveryLayout) {
  struct Case {
    const char* name;
    PlotLayout plot;
    bool rate1MS, channelOn1;
    std::int32_t source;
    bool rising;
  };
  const Case cases[] = {
      {"standard, CH2 falling", PlotLayout::Standard, false, true, cp::TriggerSourceCH2, false},
      {"stretched, CH1 rising", PlotLayout::Stretched, false, true, cp::TriggerSourceCH1, true},
      {"3000-sample, CH1 rising", PlotLayout::ThreeThousand, true, true, cp::TriggerSourceCH1,
       true},
      {"3000-sample, CH2 falling", PlotLayout::ThreeThousand, true, false, cp::TriggerSourceCH2,
       false},
  };
  SimConfig config;
  config.inputs.ch2 = {Shape::Triangle, 3000, 3.0, 0};
  Bench bench{config};
  for (const Case& c : cases) {
    for (int row : kPresetRows) {
      const bool fifty = c.plot != PlotLayout::Standard;
      const PositionBytes& p = fifty ? kFiftyMicrosecondPositions[row] : kNormalRowPositions[row];
      cp::CaptureCommandInputs in = NormalMode(DefaultPanel());
      in.TriggerCH = c.source;
      in.CH2TriggerV = -20;
      in.RisingTrigger = c.rising;
      in.TimeBaseIndex = fifty ? 2 : 3;
      in.Rate1MS = c.rate1MS;
      in.ChannelOn1 = c.channelOn1;
      p.ApplyTo(in);
      const auto command = cp::BuildCaptureCommand(in);
      bench.link.Send(command);
      const auto reply = bench.link.Receive(kReplyLength);
      ASSERT_EQ(reply.size(), kReplyLength) << c.name;
      const bool twoChannel = !c.rate1MS;
      const auto samples = SourceSamples(
          reply, twoChannel && c.source == cp::TriggerSourceCH2, twoChannel ? 1500 : 3000);
      const int marker = SampleUnderMarker(c.plot, p.markerLeft, 200);
      EXPECT_TRUE(CrossesNear(samples, marker, command[1] - 2, c.rising))
          << c.name << ", marker Left " << p.markerLeft << ", sample " << marker;
    }
  }
}

TEST(SimServer, NormalModeWithoutAnEdgeAnswersNothingAndTheStopByteEndsIt) {
  Bench bench{FlatInputs()};
  bench.link.Send(cp::BuildCaptureCommand(NormalMode(DefaultPanel())));
  ASSERT_TRUE(bench.AwaitFrames(1));
  EXPECT_TRUE(bench.link.ReceiveFor(300).empty()) << "no edge, no reply";
  bench.link.Send({cp::StopByte});
  EXPECT_TRUE(bench.link.ReceiveFor(300).empty()) << "the stop byte is not answered";
  // The identify answer comes first and alone: no late capture reply.
  bench.link.Send({'?'});
  EXPECT_EQ(Text(bench.link.Receive(7)), kIdentity);
  EXPECT_TRUE(bench.link.ReceiveFor(150).empty());
  EXPECT_EQ(bench.Kinds(),
            (std::vector<FrameKind>{FrameKind::Capture, FrameKind::Stop, FrameKind::Identify}));
}

TEST(SimServer, NormalModeGoesOnLookingForTheEdgeOfASlowSignal) {
  // At 1 MS/s a 0.5 Hz sine that starts with the simulator's clock reaches
  // 2.4 V some 0.2 s of samples later: more than one look covers.
  SimConfig config;
  config.inputs.ch1 = {Shape::Sine, 0.5, 4.0, 0};
  Bench bench{config};
  cp::CaptureCommandInputs in = NormalMode(DefaultPanel());
  in.TimeBaseIndex = 2;
  in.Rate1MS = true;
  const PositionBytes& p = kFiftyMicrosecondPositions[2];
  p.ApplyTo(in);
  const auto command = cp::BuildCaptureCommand(in);
  bench.link.Send(command);
  const auto reply = bench.link.Receive(kReplyLength, 20000);
  ASSERT_EQ(reply.size(), kReplyLength);
  EXPECT_EQ(reply[0], kStatusTriggered);
  EXPECT_TRUE(CrossesNear(SourceSamples(reply, false, 3000),
                          SampleUnderMarker(PlotLayout::ThreeThousand, 251, 173), command[1] - 2,
                          true));
}

TEST(SimServer, AutoModeAnswersUntriggeredWithoutAnEdge) {
  Bench bench{FlatInputs()};
  bench.link.Send(cp::BuildCaptureCommand(DefaultPanel()));
  EXPECT_EQ(bench.link.Receive(kReplyLength), FlatReply());
}

TEST(SimServer, ANewCommandReplacesThePendingOne) {
  Bench bench{FlatInputs()};
  bench.link.Send(cp::BuildCaptureCommand(NormalMode(DefaultPanel())));
  bench.link.Send(cp::BuildCaptureCommand(DefaultPanel()));
  EXPECT_EQ(bench.link.Receive(kReplyLength), FlatReply());
  bench.link.Send({'?'});
  EXPECT_EQ(Text(bench.link.Receive(7)), kIdentity) << "exactly one reply came";
}

TEST(SimServer, IgnoresStrayBytesAndLogsEveryFrame) {
  char logPath[] = "/tmp/sim-frames-XXXXXX";
  const int fd = mkstemp(logPath);
  ASSERT_GE(fd, 0);
  ::close(fd);
  SimConfig config = FlatInputs();
  config.logPath = logPath;
  {
    Bench bench{config};
    const auto command = cp::BuildCaptureCommand(DefaultPanel());
    bench.link.Send({0x00, 0x41, 0xFE});
    bench.link.Send(command);
    EXPECT_EQ(bench.link.Receive(kReplyLength), FlatReply()) << "resynchronised on 170";
    bench.link.Send({'?', cp::StopByte});
    ASSERT_TRUE(bench.AwaitFrames(6));
    const auto frames = bench.server.ReceivedFrames();
    const std::vector<std::vector<std::uint8_t>> want = {
        {0x00}, {0x41}, {0xFE}, {command.begin(), command.end()}, {'?'}, {0xFF}};
    ASSERT_EQ(frames.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(frames[i].bytes, want[i]) << i;
    EXPECT_EQ(bench.Kinds(),
              (std::vector<FrameKind>{FrameKind::Ignored, FrameKind::Ignored, FrameKind::Ignored,
                                      FrameKind::Capture, FrameKind::Identify, FrameKind::Stop}));
  }
  std::ifstream log(logPath);
  std::vector<std::string> lines;
  for (std::string line; std::getline(log, line);) lines.push_back(line);
  std::remove(logPath);
  EXPECT_EQ(lines, (std::vector<std::string>{"00", "41", "FE", "AA 61 F3 1C 00 D0 08 ED 03", "3F",
                                             "FF"}));
}

TEST(SimServerFaults, Silent) {
  SimConfig config = FlatInputs();
  config.faults.silent = true;
  Bench bench{config};
  bench.link.Send({'?'});
  bench.link.Send(cp::BuildCaptureCommand(DefaultPanel()));
  ASSERT_TRUE(bench.AwaitFrames(2)) << "it still hears everything";
  EXPECT_TRUE(bench.link.ReceiveFor(300).empty());
}

TEST(SimServerFaults, IdentifyAnswers) {
  struct Case {
    const char* name;
    void (*apply)(Faults&);
    std::string answer;
  };
  const Case cases[] = {
      {"wrong identify", [](Faults& f) { f.wrongIdentify = true; }, "ECSIMC5"},
      {"bad date", [](Faults& f) { f.badDate = true; }, "OCSIM0Z"},
  };
  for (const Case& c : cases) {
    SimConfig config;
    c.apply(config.faults);
    Bench bench{config};
    bench.link.Send({'?'});
    EXPECT_EQ(Text(bench.link.Receive(7)), c.answer) << c.name;
  }
}

TEST(SimServerFaults, Garbage) {
  SimConfig config = FlatInputs();
  config.faults.garbage = true;
  Bench bench{config};
  for (int i = 0; i < 20; ++i) {
    bench.link.Send({'?'});
    const auto answer = bench.link.Receive(7);
    ASSERT_EQ(answer.size(), 7u);
    EXPECT_NE(answer[0], 'O');
  }
  bench.link.Send(cp::BuildCaptureCommand(DefaultPanel()));
  const auto reply = bench.link.Receive(kReplyLength);
  ASSERT_EQ(reply.size(), kReplyLength);
  EXPECT_NE(reply, FlatReply());
  std::set<int> values(reply.begin(), reply.end());
  EXPECT_GT(values.size(), 100u) << "noise, not a signal";
}

TEST(SimServerFaults, TruncatedReply) {
  SimConfig config = FlatInputs();
  config.faults.truncateReplyAt = 2999;
  Bench bench{config};
  bench.link.Send(cp::BuildCaptureCommand(DefaultPanel()));
  const auto bytes = bench.link.Receive(2999);
  ASSERT_EQ(bytes.size(), 2999u);
  const auto flat = FlatReply();
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), flat.begin()));
  // Nothing more of the reply: the identify answer is the next thing to come.
  bench.link.Send({'?'});
  EXPECT_EQ(Text(bench.link.Receive(7)), kIdentity);
}

TEST(SimServerFaults, DroppedConnectionAfterNCaptures) {
  SimConfig config = FlatInputs();
  config.faults.dropAfterCaptures = 2;
  Bench bench{config};
  const std::string path = bench.server.SlavePath();
  struct stat device {};
  ASSERT_EQ(::stat(path.c_str(), &device), 0);
  ASSERT_TRUE(SameNode(path, device));
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(bench.server.LinkDropped());
    bench.link.Send(cp::BuildCaptureCommand(DefaultPanel()));
    EXPECT_EQ(bench.link.Receive(kReplyLength).size(), kReplyLength) << "capture " << i;
  }
  EXPECT_TRUE(bench.link.AwaitHangup());
  EXPECT_TRUE(WaitFor([&] { return bench.server.LinkDropped(); }));
  EXPECT_EQ(bench.server.CapturesAnswered(), 2);
  EXPECT_FALSE(SameNode(path, device)) << "the device is gone";
}

// The answer is spread over time: however late the reader looks (a loaded
// machine may let the whole answer pile up for one read), it cannot have it
// all before the pacing lets the last byte go.
TEST(SimServerFaults, DripAndBaudRateSpreadAnswersOverTime) {
  struct Case {
    const char* name;
    int dripMs, baud;
    std::vector<std::uint8_t> request;
    std::size_t answerLength;
    int earliestMs;  // a little under the pacing's own time for the answer
  };
  const Case cases[] = {
      {"drip", 30, 0, {'?'}, 7, 150},                // six gaps of 30 ms
      {"baud", 0, 110000, {}, kReplyLength, 250},  // 10000 bytes a second: 300 ms
  };
  for (const Case& c : cases) {
    SimConfig config = FlatInputs();
    config.faults.dripMilliseconds = c.dripMs;
    config.baud = c.baud;
    Bench bench{config};
    const auto command = cp::BuildCaptureCommand(DefaultPanel());
    const auto sent = std::chrono::steady_clock::now();
    bench.link.Send(c.request.empty() ? std::vector<std::uint8_t>(command.begin(), command.end())
                                      : c.request);
    const auto answer = bench.link.Receive(c.answerLength, 10000);
    const auto tookMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - sent).count();
    EXPECT_EQ(answer.size(), c.answerLength) << c.name;
    EXPECT_GE(tookMs, c.earliestMs) << c.name;
  }
}

TEST(SimServer, RealTimePacingStillAnswers) {
  SimConfig config;
  config.realTime = true;
  Bench bench{config};
  const auto command = cp::BuildCaptureCommand(DefaultPanel());
  bench.link.Send(command);
  const auto reply = bench.link.Receive(kReplyLength);
  ASSERT_EQ(reply.size(), kReplyLength);
  EXPECT_EQ(reply[0], kStatusTriggered);
  EXPECT_TRUE(CrossesNear(SourceSamples(reply, false, 1500),
                          SampleUnderMarker(PlotLayout::Standard, 251, 173), command[1] - 2, true));
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

TEST(SimServer, OutlivesThePortBeingClosedAndReopenedWithoutSpinning) {
  SimServer server{SimConfig{}};
  for (int i = 0; i < 30; ++i) {
    SlaveLink link{server.SlavePath()};
    link.Send({'?'});
    ASSERT_EQ(Text(link.Receive(7)), kIdentity) << "open " << i;
  }
  // Nobody has the slave open now, so the master reports a hang-up on every
  // poll; the server must wait between looks, not burn a core.
  const double cpuBefore = ProcessCpuSeconds();
  const auto wallBefore = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
  EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.05 * wall);
  SlaveLink link{server.SlavePath()};
  link.Send({'?'});
  EXPECT_EQ(Text(link.Receive(7)), kIdentity);
}

TEST(BuiltInSimulator, ComesAndGoesWithThePortAndAnswersAtOnce) {
  // The port "SIM1" makes one of these at every open and drops it at every
  // close, which the connection watch does once a second.
  for (int i = 0; i < 20; ++i) {
    BuiltInSimulator simulator;
    EXPECT_NE(simulator.SlavePath(), "");
    SlaveLink link{simulator.SlavePath()};
    link.Send({'?'});
    EXPECT_EQ(Text(link.Receive(7)), kIdentity) << "instance " << i;
    link.Send(cp::BuildCaptureCommand(DefaultPanel()));
    const auto reply = link.Receive(kReplyLength);
    ASSERT_EQ(reply.size(), kReplyLength);
    EXPECT_EQ(reply[0], kStatusTriggered) << "the default signals trigger the default panel";
  }
}

}  // namespace

// ---- Pacing, finished replies, late last bytes, flood, the bounded log ------------

namespace {

using SteadyClock = std::chrono::steady_clock;

long long MsSince(SteadyClock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count();
}

}  // namespace

TEST(SimPacing, ByDefaultNoReplyComesSoonerThanTwentyMillisecondsUnpacedItMay) {
  SimConfig paced = FlatInputs();
  ASSERT_EQ(paced.minReplyMilliseconds, 20);
  SimConfig unpaced = FlatInputs();
  unpaced.minReplyMilliseconds = 0;
  const auto command = cp::BuildCaptureCommand(DefaultPanel());
  for (const SimConfig& config : {paced, unpaced}) {
    Bench bench{config};
    bench.link.Send({'?'});
    ASSERT_EQ(bench.link.Receive(7).size(), 7u);  // the link is up
    const auto sent = SteadyClock::now();
    bench.link.Send(command);
    ASSERT_EQ(bench.link.Receive(1).size(), 1u);
    if (config.minReplyMilliseconds > 0) EXPECT_GE(MsSince(sent), 20);
    EXPECT_EQ(bench.link.Receive(kReplyLength - 1).size(), kReplyLength - 1);
  }
  EXPECT_TRUE(ParseArguments({"--unpaced"}).config.minReplyMilliseconds == 0);
}

TEST(SimPacing, ACommandThatComesAByteAtATimeIsTakenWhole) {
  // A paced instrument reads the rest of a command that came in part a
  // moment later, in one go. However the bytes are spread (a line's pace,
  // a scheduling pause in the middle), it is still one command.
  const auto command = cp::BuildCaptureCommand(DefaultPanel());
  for (const int gapUs : {0, 1150, 4000}) {
    Bench bench{FlatInputs()};
    const auto started = SteadyClock::now();
    for (std::size_t i = 0; i < command.size(); ++i) {
      bench.link.Send({command[i]});
      const int pause = i == 4 ? 3 * gapUs : gapUs;
      if (pause > 0) std::this_thread::sleep_for(std::chrono::microseconds(pause));
    }
    EXPECT_EQ(bench.link.Receive(kReplyLength), FlatReply()) << gapUs;
    EXPECT_GE(MsSince(started), 20) << gapUs;
    const auto frames = bench.server.ReceivedFrames();
    ASSERT_EQ(frames.size(), 1u) << gapUs;
    EXPECT_EQ(frames[0].kind, FrameKind::Capture);
    EXPECT_EQ(frames[0].bytes, std::vector<std::uint8_t>(command.begin(), command.end()));
  }
}

TEST(SimStopByte, CutsTheReplyUnlessTheInstrumentFinishesItsReplies) {
  for (const bool finish : {false, true}) {
    SimConfig config = FlatInputs();
    config.baud = 96000;  // about 0.34 s a reply
    config.finishReplies = finish;
    Bench bench{config};
    bench.link.Send(cp::BuildCaptureCommand(DefaultPanel()));
    const auto head = bench.link.Receive(300);
    ASSERT_EQ(head.size(), 300u);
    bench.link.Send({cp::StopByte});
    const auto rest = bench.link.ReceiveFor(800);
    if (finish) {
      EXPECT_EQ(head.size() + rest.size(), kReplyLength);
    } else {
      EXPECT_LT(head.size() + rest.size(), kReplyLength / 2);
    }
  }
  EXPECT_TRUE(ParseArguments({"--finish-replies"}).config.finishReplies);
}

TEST(SimFaults, TheLateLastByteComesAfterTheRest) {
  SimConfig config = FlatInputs();
  config.faults.lateLastMilliseconds = 60;
  Bench bench{config};
  bench.link.Send(cp::BuildCaptureCommand(DefaultPanel()));
  const auto most = bench.link.Receive(kReplyLength - 1);
  ASSERT_EQ(most.size(), kReplyLength - 1);
  const auto allButLast = SteadyClock::now();
  const auto last = bench.link.Receive(1);
  ASSERT_EQ(last.size(), 1u);
  EXPECT_GE(MsSince(allButLast), 30);
  EXPECT_EQ(last[0], FlatReply().back());
  EXPECT_EQ(ParseArguments({"--fault", "late-last=7"}).config.faults.lateLastMilliseconds, 7);
}

TEST(SimFaults, AFloodNeverStopsAndAnswersNothing) {
  SimConfig config;
  config.faults.flood = true;
  Bench bench{config};
  const auto first = bench.link.ReceiveFor(200);
  const auto second = bench.link.ReceiveFor(200);
  EXPECT_GT(first.size(), 10000u);
  EXPECT_GT(second.size(), 10000u);
  EXPECT_TRUE(ParseArguments({"--fault", "flood"}).config.faults.flood);
}

TEST(FrameLog, KeepsTheMostRecentFramesAndCountsThemAll) {
  FrameLog log({}, 3);
  for (std::uint8_t b = 1; b <= 5; ++b) log.Record(FrameKind::Ignored, {b});
  const auto frames = log.Frames();
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames.front().bytes, std::vector<std::uint8_t>{3});
  EXPECT_EQ(frames.back().bytes, std::vector<std::uint8_t>{5});
  EXPECT_EQ(log.TotalRecorded(), 5u);
}

TEST(FrameLog, TheServersLogStaysBoundedOverManyCaptures) {
  SimConfig config = FlatInputs();
  config.minReplyMilliseconds = 0;
  config.autoWaitMilliseconds = 0;
  Bench bench{config};
  const std::size_t captures = FrameLog::DefaultCapacity + 100;
  const auto command = cp::BuildCaptureCommand(DefaultPanel());
  for (std::size_t i = 0; i < captures; ++i) {
    bench.link.Send(command);
    ASSERT_EQ(bench.link.Receive(kReplyLength).size(), kReplyLength);
  }
  EXPECT_EQ(bench.server.ReceivedFrames().size(), FrameLog::DefaultCapacity);
  EXPECT_EQ(bench.server.Log().TotalRecorded(), captures);
}
