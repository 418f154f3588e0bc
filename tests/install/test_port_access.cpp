// A port the user may not open: the watch tells how to get access once, not
// at every tick, and a port that opens is handled as before.
//
// Root opens any device whatever its mode, so as root the test runs its
// unprivileged half again as the user nobody (setpriv), on a pseudo-terminal
// that root has given to the group dialout with mode 0660, as udev does with
// a USB serial adapter.
#include "connection/PortAccess.h"
#include "support/ScopeWindow.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using connection::PortAccessAdvice;
using connection::PortAccessFacts;

TEST(PortAccessAdvice, SaysWhatToDoForEachCase) {
  struct Case {
    const char* name;
    PortAccessFacts facts;
    QStringList says;
    QStringList never;
  };
  const Case cases[] = {
      {"not in the group: join it, then log in again",
       {"/dev/ttyUSB0", "dialout", true, false},
       {"/dev/ttyUSB0", "\"dialout\"", "sudo usermod -aG dialout $USER", "log in again"},
       {"administrator"}},
      {"in the group already, but not in this session: only the new login",
       {"/dev/ttyUSB0", "dialout", true, true},
       {"\"dialout\"", "log in again"},
       {"usermod"}},
      {"another distribution's group",
       {"/dev/ttyACM0", "uucp", true, false},
       {"sudo usermod -aG uucp $USER"},
       {"dialout"}},
      {"no group may use it: joining would not help",
       {"/dev/ttyS0", "root", true, false},
       {"administrator", "/dev/ttyS0"},
       {"usermod"}},
      {"mode without group access", {"/dev/ttyUSB0", "dialout", false, false}, {"administrator"}, {"usermod"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString text = PortAccessAdvice(c.facts.devicePath, c.facts);
    for (const QString& part : c.says) EXPECT_TRUE(text.contains(part)) << text.toStdString();
    for (const QString& part : c.never) EXPECT_FALSE(text.contains(part)) << text.toStdString();
  }
  // A link names the device it leads to as well.
  const QString linked = PortAccessAdvice(QStringLiteral("/dev/serial/by-id/usb-scope"),
                                          {"/dev/ttyUSB0", "dialout", true, false});
  EXPECT_TRUE(linked.contains(QLatin1String("/dev/serial/by-id/usb-scope")));
  EXPECT_TRUE(linked.contains(QLatin1String("(/dev/ttyUSB0)")));
}

// A pseudo-terminal whose device node stands in for the instrument's port.
class Pty {
 public:
  Pty() {
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0) path_ = QString::fromLocal8Bit(name);
    // Only the node is needed; the watch opens it by name.
    if (slave_ >= 0) ::close(slave_);
  }
  ~Pty() {
    if (master_ >= 0) ::close(master_);
  }
  const QString& Path() const { return path_; }
  bool Chmod(mode_t mode, gid_t group) const {
    const QByteArray p = QFile::encodeName(path_);
    return ::chown(p.constData(), ::getuid(), group) == 0 && ::chmod(p.constData(), mode) == 0;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  QString path_;
};

constexpr char kChildPort[] = "TESSARON_TEST_DENIED_PORT";

// Ticks of the watch on a port; returns the error boxes shown.
QStringList WatchTicks(ScopeWindow& w, const QString& port, int ticks) {
  w.scope.PortNameLabel()->setText(port);
  for (int i = 0; i < ticks; ++i) {
    EXPECT_TRUE(WatchTick(*w.form));
    RunEventsFor(20);
  }
  return w.ui.errors;
}

// The unprivileged half: the port given by the parent cannot be opened.
TEST(PortAccessAsUser, TheWatchTellsOnceHowToGetAccess) {
  const QString port = qEnvironmentVariable(kChildPort);
  if (port.isEmpty()) GTEST_SKIP() << "run by PortAccess.AnUnprivilegedUserIsToldOnce";
  ASSERT_NE(::geteuid(), 0u);
  ScopeWindow w(true, /*stopWatch=*/true);
  const QStringList errors = WatchTicks(w, port, 4);
  ASSERT_EQ(errors.size(), 1) << errors.join(u'|').toStdString();
  EXPECT_TRUE(errors.first().contains(port)) << errors.first().toStdString();
  EXPECT_TRUE(errors.first().contains(QLatin1String("sudo usermod -aG dialout $USER")))
      << errors.first().toStdString();
  EXPECT_FALSE(w->SerialPort.IsOpen);
  EXPECT_EQ(w.scope.State().DeviceFound, 0);
  EXPECT_TRUE(w.ui.messages.isEmpty());

  // Another port and back: the advice is for a port, so it comes again.
  WatchTicks(w, QStringLiteral("/dev/tessaron-no-such-port"), 1);
  EXPECT_EQ(WatchTicks(w, port, 2).size(), 2);
}

TEST(PortAccess, AnUnprivilegedUserIsToldOnce) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run a part as another user";
  const group* dialout = ::getgrnam("dialout");
  ASSERT_NE(dialout, nullptr) << "no group dialout on this system";
  Pty pty;
  ASSERT_FALSE(pty.Path().isEmpty());
  ASSERT_TRUE(pty.Chmod(0660, dialout->gr_gid));

  QTemporaryDir home;  // writable by nobody: the child's settings live here
  ASSERT_TRUE(home.isValid());
  ASSERT_EQ(::chmod(QFile::encodeName(home.path()).constData(), 0777), 0);

  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QLatin1String(kChildPort), pty.Path());
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("HOME"), home.path());
  env.insert(QStringLiteral("TMPDIR"), home.path());
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QStringLiteral("setpriv"),
              {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
               QStringLiteral("--clear-groups"), QStringLiteral("--"),
               QCoreApplication::applicationFilePath(),
               QStringLiteral("--gtest_filter=PortAccessAsUser.*")});
  ASSERT_TRUE(child.waitForFinished(120000));
  const QString output = QString::fromLocal8Bit(child.readAll());
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains(QLatin1String("[  PASSED  ] 1 test"))) << output.toStdString();

  // Root may open the same node: no advice, the port opens as before.
  ScopeWindow w(true, true);
  EXPECT_TRUE(WatchTicks(w, pty.Path(), 2).isEmpty());
  EXPECT_EQ(w->PortAccessToldFor, QString());
}

}  // namespace
