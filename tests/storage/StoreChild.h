#pragma once
// Other programs writing the same store: this test program started again with
// SCOPE_STORE_CHILD set runs one of the child modes below before main() and
// exits, so the children are real processes with their own SettingsStore.
//
//   "writer:<prefix>" waits for one byte on stdin, then writes 200 values
//                     named "<prefix>0".."<prefix>199" (WriterValueFor).
//   "burst"           writes "Text" then "Counter" for 1, 2, 3... forever and
//                     reports each finished Counter write on stdout.

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstdint>

#include <sys/types.h>

inline constexpr int WriterValueCount = 200;
inline std::int32_t WriterValueFor(int index) { return index * 7919 + 13; }
inline QString BurstTextFor(std::int32_t counter) { return QStringLiteral("v%1\nend\\").arg(counter); }

class StoreChild {
 public:
  // Starts the child with the current environment (XDG_CONFIG_HOME included).
  explicit StoreChild(const QByteArray& mode);
  ~StoreChild();  // kills a child still running
  StoreChild(const StoreChild&) = delete;
  StoreChild& operator=(const StoreChild&) = delete;

  void Go();
  void Kill();
  // Exit code, or -1 when it did not exit normally.
  int Wait();

  // Reads the burst child's reports until the last is at least `atLeast` or
  // the child has gone; returns the last one (0 before any).
  std::int32_t AwaitReport(std::int32_t atLeast, std::chrono::milliseconds deadline);
  // After Kill: every report the child sent before it died.
  std::int32_t DrainReports();

 private:
  bool Pump(int timeoutMs);

  pid_t pid_ = -1;
  int goFd_ = -1;
  int reportFd_ = -1;
  bool reportsEnded_ = false;
  QByteArray pending_;
  std::int32_t lastReport_ = 0;
};
