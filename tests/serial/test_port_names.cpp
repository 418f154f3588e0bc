// Which names TSerial opens as a port: serial ports only, found through the
// links a user names them by, and nothing else is opened, changed or written
// on the way.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "PseudoTerminal.h"
#include "serial/PortPath.h"
#include "serial/TSerial.h"
#include "sim/BuiltInSimulator.h"

namespace {

namespace fs = std::filesystem;
using port_path::Refusal;

// The settings a terminal keeps, all of them, as stty shows them.
termios LineOf(int fd) {
  termios record{};
  EXPECT_EQ(tcgetattr(fd, &record), 0) << std::strerror(errno);
  return record;
}

void ExpectSameLine(const termios& before, const termios& after) {
  EXPECT_EQ(before.c_iflag, after.c_iflag);
  EXPECT_EQ(before.c_oflag, after.c_oflag);
  EXPECT_EQ(before.c_cflag, after.c_cflag);
  EXPECT_EQ(before.c_lflag, after.c_lflag);
  EXPECT_EQ(0, std::memcmp(before.c_cc, after.c_cc, sizeof before.c_cc));
  EXPECT_EQ(cfgetispeed(&before), cfgetispeed(&after));
  EXPECT_EQ(cfgetospeed(&before), cfgetospeed(&after));
}

// A cooked, echoing line at 4800 baud: nothing the port would set itself.
void MakeCooked(int fd) {
  termios record = LineOf(fd);
  cfsetispeed(&record, B4800);
  cfsetospeed(&record, B4800);
  record.c_lflag |= ICANON | ECHO | ISIG;
  record.c_iflag |= IXON | ICRNL;
  ASSERT_EQ(tcsetattr(fd, TCSANOW, &record), 0);
}

int OpenDescriptorCount() {
  return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"),
                                        fs::directory_iterator()));
}

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "port-names-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch folder");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Box(const std::string& name, Refusal refusal) {
  return "Could not open port: " + port_path::NameForMessage(name) + ".  " +
         port_path::RefusalReason(refusal);
}

}  // namespace

TEST(PortNameFacts, OnlySerialPortsAndPseudoTerminalSlavesPass) {
  struct Case {
    const char* name;
    port_path::NodeFacts facts;
    Refusal expected;
  };
  const auto device = [](unsigned major, unsigned minor, bool hardware) {
    port_path::NodeFacts facts;
    facts.characterDevice = true;
    facts.major = major;
    facts.minor = minor;
    facts.hardwareTerminal = hardware;
    facts.devicePathLength = 12;
    return facts;
  };
  port_path::NodeFacts ownPty = device(136, 3, false);
  ownPty.ownTerminal = true;
  port_path::NodeFacts longNode = device(188, 0, true);
  longNode.devicePathLength = port_path::kLongestDevicePath + 1;
  port_path::NodeFacts longestNode = device(188, 0, true);
  longestNode.devicePathLength = port_path::kLongestDevicePath;
  const Case cases[] = {
      {"a file, a folder or a FIFO", port_path::NodeFacts{}, Refusal::NotSerialPort},
      {"/dev/null", device(1, 3, false), Refusal::NotSerialPort},
      {"/dev/tty", device(5, 0, false), Refusal::NotSerialPort},
      {"/dev/ptmx", device(5, 2, false), Refusal::NotSerialPort},
      {"a virtual console", device(4, 1, false), Refusal::NotSerialPort},
      {"a USB serial bridge", device(188, 0, true), Refusal::None},
      {"the first pseudo-terminal slave", device(136, 0, false), Refusal::None},
      {"the last pseudo-terminal slave major", device(143, 7, false), Refusal::None},
      {"past the pseudo-terminal slaves", device(144, 0, false), Refusal::NotSerialPort},
      {"a pseudo-terminal master", device(128, 0, false), Refusal::NotSerialPort},
      {"our own terminal", ownPty, Refusal::OwnTerminal},
      {"a device node longer than the limit", longNode, Refusal::NameTooLong},
      {"a device node at the limit", longestNode, Refusal::None},
  };
  for (const Case& c : cases) EXPECT_EQ(port_path::Classify(c.facts), c.expected) << c.name;
}

TEST(PortNameFacts, ALongNameIsShortenedInTheMiddleForTheMessage) {
  EXPECT_EQ(port_path::NameForMessage("/dev/ttyUSB0"), "/dev/ttyUSB0");
  const std::string longName = "/dev/" + std::string(5000, 'x') + "-port0";
  const std::string shown = port_path::NameForMessage(longName);
  EXPECT_LE(shown.size(), 80u);
  EXPECT_EQ(shown.substr(0, 5), "/dev/");
  EXPECT_EQ(shown.substr(shown.size() - 6), "-port0");
  EXPECT_NE(shown.find("..."), std::string::npos);
}

// Every name that is not a serial port is refused before it is opened, says
// why once (the connection watch retries it every second), and leaves every
// file and terminal as it was.
TEST(RefusedPortNames, NoneIsOpenedChangedOrWrittenAndEachSaysWhyOnce) {
  ScratchFolder scratch;
  const fs::path file = scratch.Path() / "settings.txt";
  std::ofstream(file, std::ios::binary) << "COMPORT=str:/dev/ttyUSB0\n";
  const auto fileTime = fs::last_write_time(file);
  const fs::path folder = scratch.Path() / "folder";
  fs::create_directory(folder);
  const fs::path fifo = scratch.Path() / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Our own reader on the FIFO shows whatever would be written into it.
  const int fifoReader = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(fifoReader, 0);
  const fs::path linkToNull = scratch.Path() / "link-to-null";
  fs::create_symlink("/dev/null", linkToNull);
  const std::string tooLong = "/dev/serial/by-id/" + std::string(10000, 'u');

  // The terminal on our standard input, if the tests run in one.
  const bool inTerminal = ::isatty(STDIN_FILENO) == 1;
  termios ownLine{};
  if (inTerminal) ownLine = LineOf(STDIN_FILENO);

  struct Case {
    std::string name;
    Refusal refusal;
  };
  std::vector<Case> cases = {
      {"/dev/tty", Refusal::NotSerialPort},
      {"/dev/ptmx", Refusal::NotSerialPort},
      {"/dev/null", Refusal::NotSerialPort},
      {linkToNull.string(), Refusal::NotSerialPort},
      {file.string(), Refusal::NotSerialPort},
      {folder.string(), Refusal::NotSerialPort},
      {fifo.string(), Refusal::NotSerialPort},
      {tooLong, Refusal::NameTooLong},
  };
  if (fs::exists("/dev/console")) cases.push_back({"/dev/console", Refusal::NotSerialPort});

  const int descriptorsBefore = OpenDescriptorCount();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.substr(0, 80));
    TSerial port;
    std::vector<std::string> boxes;
    port.ShowErrorBox = [&](const std::string& text) { boxes.push_back(text); };
    errno = 0;
    EXPECT_FALSE(port.Open(c.name, "9600", "NONE", "8", false));
    if (c.refusal == Refusal::NameTooLong) {
      EXPECT_EQ(errno, 0) << "not even looked up";
    }
    EXPECT_EQ(port.LastError, static_cast<std::uint32_t>(port_path::RefusalError(c.refusal)));
    EXPECT_FALSE(port.IsOpen);
    EXPECT_EQ(port.Handle, -1);
    EXPECT_EQ(boxes, std::vector<std::string>{Box(c.name, c.refusal)});

    EXPECT_FALSE(port.Open(c.name, "9600", "NONE", "8", false));
    EXPECT_EQ(boxes.size(), 1u) << "the watch's next tick says nothing more";
    EXPECT_FALSE(port.Open(c.name, "9600", "NONE", "8", true));
    EXPECT_EQ(boxes.size(), 2u) << "an open that asks for errors hears it again";
  }
  EXPECT_EQ(OpenDescriptorCount(), descriptorsBefore) << "nothing left open";

  EXPECT_EQ(Contents(file), "COMPORT=str:/dev/ttyUSB0\n");
  EXPECT_EQ(fs::last_write_time(file), fileTime);
  EXPECT_TRUE(fs::is_empty(folder));
  char byte = 0;
  EXPECT_EQ(::read(fifoReader, &byte, 1), -1) << "nothing written into the FIFO";
  ::close(fifoReader);
  if (inTerminal) ExpectSameLine(ownLine, LineOf(STDIN_FILENO));
}

TEST(RefusedPortNames, ANewNameIsToldAgainAndAnOpenedPortClearsTheMemory) {
  PseudoTerminal pty;
  TSerial port;
  std::vector<std::string> boxes;
  port.ShowErrorBox = [&](const std::string& text) { boxes.push_back(text); };
  EXPECT_FALSE(port.Open("/dev/null", "9600", "NONE", "8", false));
  EXPECT_FALSE(port.Open("/dev/ptmx", "9600", "NONE", "8", false));
  EXPECT_FALSE(port.Open("/dev/null", "9600", "NONE", "8", false));
  EXPECT_EQ(boxes.size(), 3u) << "each change of name is told";
  ASSERT_TRUE(port.Open(pty.SlavePath(), "9600", "NONE", "8", false));
  port.Close();
  EXPECT_FALSE(port.Open("/dev/null", "9600", "NONE", "8", false));
  EXPECT_EQ(boxes.size(), 4u) << "refused again after a port worked: told again";
}

// The terminal the program runs in is never taken as the port, whatever name
// leads to it. A child process gets the pseudo-terminal as its controlling
// terminal and tries /dev/tty, the terminal's own path and a link to it.
TEST(RefusedPortNames, TheProgramsOwnTerminalByAnyName) {
  PseudoTerminal terminal;
  MakeCooked(terminal.Master());
  const termios before = LineOf(terminal.Master());
  ScratchFolder scratch;
  const fs::path link = scratch.Path() / "my-terminal";
  fs::create_symlink(terminal.SlavePath(), link);
  const std::vector<std::string> names = {"/dev/tty", terminal.SlavePath(), link.string()};

  int results[2];
  ASSERT_EQ(::pipe(results), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A new session without a terminal; the first terminal it opens becomes
    // its controlling terminal.
    ::close(results[0]);
    if (::setsid() < 0) ::_exit(2);
    const int own = ::open(terminal.SlavePath().c_str(), O_RDWR);
    if (own < 0) ::_exit(3);
    for (const std::string& name : names) {
      TSerial port;
      const std::uint8_t opened = port.Open(name, "9600", "NONE", "8", false) ? 1 : 0;
      const auto error = static_cast<std::uint8_t>(port.LastError);
      const std::uint8_t record[2] = {opened, error};
      if (::write(results[1], record, sizeof record) != sizeof record) ::_exit(4);
      port.Close();
    }
    ::_exit(0);
  }
  ::close(results[1]);
  int status = -1;
  ASSERT_TRUE(WaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 10000));
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  for (const std::string& name : names) {
    std::uint8_t record[2] = {9, 0};
    ASSERT_EQ(::read(results[0], record, sizeof record), 2) << name;
    EXPECT_EQ(record[0], 0) << name << " was opened";
    EXPECT_EQ(record[1], name == "/dev/tty" ? ENOTTY : EBUSY) << name;
  }
  ::close(results[0]);
  ExpectSameLine(before, LineOf(terminal.Master()));
  EXPECT_TRUE(terminal.Receive(1, 100).empty()) << "nothing written to the terminal";
}

// The stable name a Linux user picks for an instrument is a long link under
// /dev/serial/by-id/; the length limit is for the device node it leads to.
TEST(PortNameLinks, ALongByIdLinkToTheSimulatorOpensAndItsLineIsPutBack) {
  BuiltInSimulator simulator;
  ScratchFolder scratch;
  const fs::path byId = scratch.Path() / "dev" / "serial" / "by-id";
  fs::create_directories(byId);
  std::string link =
      (byId / "usb-Tessaron_Inc._Tessaron_USB_Oscilloscope_TS-2C-000042-if00-port0").string();
  ASSERT_GT(link.size(), port_path::kLongestDevicePath);
  fs::create_symlink(simulator.SlavePath(), link);

  // A watcher on the same device reads its line before, during and after.
  const int watcher = ::open(simulator.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(watcher, 0);
  MakeCooked(watcher);
  const termios before = LineOf(watcher);

  TSerial port;
  std::vector<std::string> boxes;
  port.ShowErrorBox = [&](const std::string& text) { boxes.push_back(text); };
  ASSERT_TRUE(port.Open(link, "9600", "NONE", "8", true));
  EXPECT_EQ(port.PortName, link) << "the name stays the one the user gave";
  const termios during = LineOf(watcher);
  EXPECT_EQ(cfgetospeed(&during), B9600);
  ASSERT_TRUE(port.WriteByte('?', 100));
  EXPECT_EQ(port.ReadByte(2000), 'O') << "the simulator answers through the link";
  port.ReadBlock(6, 2000);
  port.Close();
  EXPECT_TRUE(boxes.empty());
  ExpectSameLine(before, LineOf(watcher));
  ::close(watcher);
}
