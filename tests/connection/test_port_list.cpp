// The port list in its two forms, and reading the port back out of a chooser
// item.
#include "app/Errors.h"
#include "connection/PortList.h"
#include "connection/SystemPorts.h"
#include "tests/serial/PseudoTerminal.h"

#include <gtest/gtest.h>
#include <libserialport.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace connection;

namespace {

struct ItemCase {
  const char* name;
  const char* item;
  const char* port;
};

const ItemCase kItemCases[] = {
    {"a Windows-style item", "Communications Port (COM1)", "COM1"},
    {"a device path", "FT232R USB UART (/dev/ttyUSB0)", "/dev/ttyUSB0"},
    {"the simulator", "Built-in Simulator (SIM1)", "SIM1"},
    {"no parentheses", "COM3", ""},
    {"only an opening one", "Serial (COM3", ""},
    {"closing before opening", "x) wired (COM5", ""},
    {"closing before opening, closed later", "a) b (COM5)", ""},
    {"two pairs: the first wins", "Dual UART (A) (/dev/ttyUSB1)", "A"},
    {"nested: up to the first closing", "Port (COM (2)) x", "COM (2"},
    {"COM twice, the first not a port", "Bluetooth COM Link (COM7)", "COM7"},
    {"empty parentheses", "Nothing ()", ""},
    {"empty text", "", ""},
};

TEST(PortNameFromItem, TakesTheTextBetweenTheFirstParentheses) {
  for (const ItemCase& c : kItemCases)
    EXPECT_EQ(PortNameFromItem(QString::fromUtf8(c.item)).toStdString(), c.port) << c.name;
}

TEST(DisplayEntry, ChooserReadsBackTheNameWhateverTheDescription) {
  const struct {
    const char* description;
    const char* name;
    const char* entry;
  } cases[] = {
      {"FT232R USB UART", "/dev/ttyUSB0", "FT232R USB UART (/dev/ttyUSB0)"},
      {"Dual RS232 (Port A)", "/dev/ttyUSB1", "Dual RS232 [Port A] (/dev/ttyUSB1)"},
      {"odd ) maker (", "/dev/ttyACM0", "odd ] maker [ (/dev/ttyACM0)"},
      {"  padded  ", "/dev/ttyS0", "padded (/dev/ttyS0)"},
  };
  for (const auto& c : cases) {
    const QString entry = DisplayEntry(QString::fromUtf8(c.description), QString::fromUtf8(c.name));
    EXPECT_EQ(entry.toStdString(), c.entry);
    EXPECT_EQ(PortNameFromItem(entry).toStdString(), c.name) << c.description;
  }
}

TEST(UsbDescription, ProductThenMakerWhereKnown) {
  const struct {
    const char* product;
    const char* maker;
    const char* fallback;
    const char* description;
  } cases[] = {
      {"FT232R USB UART", "", "ttyUSB0", "FT232R USB UART"},
      {"FT232R USB UART", "FTDI", "ttyUSB0", "FT232R USB UART - FTDI"},
      {"CP2102 USB to UART Bridge Controller", "Silicon Labs", "x",
       "CP2102 USB to UART Bridge Controller - Silicon Labs"},
      {"Arduino Uno", "Arduino (www.arduino.cc)", "x", "Arduino Uno - Arduino (www.arduino.cc)"},
      {"FTDI Serial", "ftdi", "x", "FTDI Serial"},
      {"", "Prolific", "ttyUSB2", "Prolific"},
      {"", "", "ttyACM0", "ttyACM0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UsbDescription(QString::fromUtf8(c.product), QString::fromUtf8(c.maker),
                             QString::fromUtf8(c.fallback))
                  .toStdString(),
              c.description)
        << c.product << "/" << c.maker;
}

class ComposePortListTest : public ::testing::Test {
 protected:
  // In the order the system found them: an on-board UART between two USB ports.
  const std::vector<SystemPort> found{
      {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"), true},
      {QStringLiteral("/dev/ttyS0"), QStringLiteral("ttyS0"), false},
      {QStringLiteral("/dev/ttyACM0"), QString(), true},
  };
};

TEST_F(ComposePortListTest, UsbPortsFirstThenTheOthersThenTheSimulator) {
  EXPECT_EQ(ComposePortList(found, {}, false, {}, false),
            QStringList({"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0", "SIM1"}));
  EXPECT_EQ(ComposePortList(found, {}, false, {}, true),
            QStringList({"FT232R USB UART (/dev/ttyUSB0)", "ttyACM0 (/dev/ttyACM0)",
                         "ttyS0 (/dev/ttyS0)", "Built-in Simulator (SIM1)"}));
  EXPECT_EQ(ComposePortList({}, {}, false, {}, true), QStringList({"Built-in Simulator (SIM1)"}));
}

TEST_F(ComposePortListTest, ANamedPortCountsOnlyWhileItsNodeExists) {
  const QString link = QStringLiteral("/tmp/run/scope-link");
  EXPECT_EQ(ComposePortList(found, link, true, QStringLiteral("/dev/pts/7"), false),
            QStringList({"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0", link, "SIM1"}));
  EXPECT_EQ(ComposePortList(found, link, true, QStringLiteral("/dev/pts/7"), true).at(3),
            QStringLiteral("Serial Device (/tmp/run/scope-link)"));
  EXPECT_FALSE(ComposePortList(found, link, false, {}, false).contains(link));
}

TEST_F(ComposePortListTest, ANamedPortIsListedOnce) {
  for (const QString& named : {QStringLiteral("/dev/ttyS0"), QStringLiteral("SIM1")}) {
    const QStringList list = ComposePortList(found, named, true, named, false);
    EXPECT_EQ(list.count(named), 1) << named.toStdString();
    EXPECT_EQ(list.size(), 4);
    EXPECT_EQ(list.last(), QStringLiteral("SIM1"));
  }
}

TEST_F(ComposePortListTest, ALinkToAListedPortBorrowsItsDescription) {
  const QString byId = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
  const QStringList list = ComposePortList(found, byId, true, QStringLiteral("/dev/ttyUSB0"), true);
  EXPECT_EQ(list.at(3), QStringLiteral("FT232R USB UART (") + byId + QLatin1Char(')'));
  EXPECT_EQ(PortNameFromItem(list.at(3)), byId);
}

TEST(DeviceNode, CharacterDevicesAndLinksToThem) {
  PseudoTerminal terminal;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString slave = QString::fromStdString(terminal.SlavePath());
  const QString link = dir.filePath(QStringLiteral("scope-link"));
  const QString dangling = dir.filePath(QStringLiteral("dangling"));
  const QString file = dir.filePath(QStringLiteral("plain-file"));
  ASSERT_TRUE(QFile::link(slave, link));
  ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), dangling));
  QFile plain(file);
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();

  EXPECT_TRUE(DeviceNodeExists(slave));
  EXPECT_TRUE(DeviceNodeExists(link));
  EXPECT_EQ(ResolvedDevicePath(link), slave);
  EXPECT_FALSE(DeviceNodeExists(dangling));
  EXPECT_FALSE(DeviceNodeExists(file));
  EXPECT_FALSE(DeviceNodeExists(dir.path()));
  EXPECT_FALSE(DeviceNodeExists(dir.filePath(QStringLiteral("missing"))));
  EXPECT_FALSE(DeviceNodeExists(QStringLiteral("SIM1")));
  EXPECT_FALSE(DeviceNodeExists(QString()));

  // The instrument going away takes the node, and so the link's target, with it.
  terminal.CloseMaster();
  EXPECT_FALSE(DeviceNodeExists(link));
}

TEST(SystemPorts, NeverListsPseudoTerminals) {
  PseudoTerminal terminal;
  const std::vector<SystemPort> ports = ListSystemPorts();
  for (const SystemPort& port : ports) {
    EXPECT_FALSE(port.name.startsWith(QStringLiteral("/dev/pts/"))) << port.name.toStdString();
    EXPECT_NE(port.name.toStdString(), terminal.SlavePath());
    EXPECT_TRUE(port.name.startsWith(QLatin1Char('/'))) << port.name.toStdString();
  }
}

TEST(SystemPorts, FailureTextsEndAsTheErrorBoxShowsThem) {
  const QString failed = EnumerationErrorText(SP_ERR_FAIL, 13);
  EXPECT_EQ(failed, QStringLiteral("Error receiving serial port list.  Error# 13."));
  EXPECT_EQ(ErrorBoxText(failed), failed);  // no second full stop
  EXPECT_EQ(EnumerationErrorText(SP_ERR_MEM, 0),
            QStringLiteral("Error receiving serial port list.  Error is unknown."));
  EXPECT_EQ(EnumerationErrorText(SP_ERR_FAIL, 0),
            QStringLiteral("Error receiving serial port list.  Error is unknown."));
}

}  // namespace
