// tessaron-sim as a program: the device line on standard output, the stable
// link, the signals that end it, the help text and refused options.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "SlaveLink.h"
#include "acquisition/CaptureProtocol.h"

extern char** environ;

namespace {

// One run of the program with its standard output and error in pipes.
class SimProcess {
 public:
  explicit SimProcess(const std::vector<std::string>& arguments) {
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::vector<std::string> argvStrings{TESSARON_SIM_PATH};
    argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : argvStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int failed = posix_spawn(&pid_, TESSARON_SIM_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    out_ = out[0];
    err_ = err[0];
    if (failed != 0) throw std::runtime_error("cannot start tessaron-sim");
  }
  ~SimProcess() {
    if (pid_ > 0 && !status_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    ::close(out_);
    ::close(err_);
  }

  // Standard output up to the first newline.
  std::string FirstLine(int deadlineMs = 5000) {
    std::string line;
    WaitFor(
        [&] {
          pollfd p{out_, POLLIN, 0};
          if (::poll(&p, 1, 10) <= 0) return false;
          char c;
          if (::read(out_, &c, 1) != 1) return true;  // closed
          if (c == '\n') return true;
          line += c;
          return false;
        },
        deadlineMs);
    return line;
  }
  std::string AllOf(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, std::size_t(n));
    return text;
  }
  std::string Output() { return AllOf(out_); }
  std::string Errors() { return AllOf(err_); }

  void Signal(int number) { ::kill(pid_, number); }

  // The exit code once the program has ended by itself, nothing on time-out.
  std::optional<int> AwaitExit(int deadlineMs = 5000) {
    WaitFor(
        [&] {
          int status = 0;
          if (::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
          return status_.has_value();
        },
        deadlineMs);
    if (!status_ || !WIFEXITED(*status_)) return std::nullopt;
    return WEXITSTATUS(*status_);
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1, err_ = -1;
  std::optional<int> status_;
};

std::string LinkTarget(const std::string& link) {
  char buffer[4096];
  const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer);
  return n < 0 ? std::string() : std::string(buffer, std::size_t(n));
}

bool Exists(const std::string& path) {
  struct stat s{};
  return ::lstat(path.c_str(), &s) == 0;
}

struct TempDir {
  std::string path;
  TempDir() {
    char name[] = "/tmp/tessaron-sim-test-XXXXXX";
    path = mkdtemp(name);
  }
  ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
};

TEST(SimProgram, PrintsTheDeviceKeepsTheLinkAndStopsOnSignals) {
  for (int signal : {SIGTERM, SIGINT}) {
    TempDir dir;
    const std::string link = dir.path + "/scope-port";
    const std::string log = dir.path + "/frames";
    std::ofstream(link) << "an old file in the way";
    SimProcess sim({"--link", link, "--log", log});
    const std::string device = sim.FirstLine();
    ASSERT_EQ(device.rfind("/dev/pts/", 0), 0u) << "'" << device << "'";
    EXPECT_EQ(LinkTarget(link), device) << "the link replaces what was there";
    {
      SlaveLink port{link};
      port.Send({'?'});
      const auto answer = port.Receive(7);
      EXPECT_EQ(std::string(answer.begin(), answer.end()), "OCSIMC5");
    }
    sim.Signal(signal);
    EXPECT_EQ(sim.AwaitExit(), 0);
    EXPECT_FALSE(Exists(link)) << "the link goes at exit";
    std::ifstream frames(log);
    std::string line;
    std::getline(frames, line);
    EXPECT_EQ(line, "3F");
  }
}

TEST(SimProgram, DropFaultEndsTheRunAfterTheLastCapture) {
  TempDir dir;
  const std::string link = dir.path + "/scope-port";
  SimProcess sim({"--fault", "drop=1", "--link", link});
  ASSERT_FALSE(sim.FirstLine().empty());
  SlaveLink port{link};
  capture_protocol::CaptureCommandInputs panel;
  panel.AutoTrigger = true;
  port.Send(capture_protocol::BuildCaptureCommand(panel));
  EXPECT_EQ(port.Receive(capture_protocol::CaptureReplyLength).size(),
            std::size_t(capture_protocol::CaptureReplyLength));
  EXPECT_EQ(sim.AwaitExit(), 0);
  EXPECT_TRUE(port.AwaitHangup());
  EXPECT_FALSE(Exists(link));
  EXPECT_NE(sim.Errors().find("dropped"), std::string::npos);
}

TEST(SimProgram, HelpNamesEveryOption) {
  SimProcess sim({"--help"});
  EXPECT_EQ(sim.AwaitExit(), 0);
  const std::string help = sim.Output();
  for (const char* word : {"--ch1", "--ch2", "--ext", "--revision", "--realtime", "--baud",
                           "--auto-wait", "--fault", "silent", "garbage", "truncate", "drop",
                           "drip", "wrong-id", "bad-date", "--log", "--link", "--help", "sine",
                           "square", "triangle", "sawtooth", "dc", "noise"}) {
    EXPECT_NE(help.find(word), std::string::npos) << word;
  }
}

TEST(SimProgram, RefusesWhatItDoesNotKnow) {
  for (const char* option : {"--frobnicate", "--fault=meltdown"}) {
    SimProcess sim({option});
    EXPECT_EQ(sim.AwaitExit(), 2) << option;
    EXPECT_TRUE(sim.Output().empty());
    EXPECT_NE(sim.Errors().find("tessaron-sim:"), std::string::npos);
  }
}

}  // namespace
