#include "StoreChild.h"

#include "app/Errors.h"
#include "storage/SettingsStore.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr const char* ChildModeVariable = "SCOPE_STORE_CHILD";

bool WriteWhole(int fd, const void* data, std::size_t size) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t put = ::write(fd, bytes, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

int RunWriter(const QString& prefix) {
  char go = 0;
  if (::read(STDIN_FILENO, &go, 1) != 1) return 3;
  SettingsStore store;
  for (int i = 0; i < WriterValueCount; ++i) store.WriteInteger(prefix + QString::number(i), WriterValueFor(i));
  return 0;
}

int RunBurst() {
  SettingsStore store;
  for (std::int32_t counter = 1;; ++counter) {
    store.WriteString(QStringLiteral("Text"), BurstTextFor(counter));
    store.WriteInteger(QStringLiteral("Counter"), counter);
    if (!WriteWhole(STDOUT_FILENO, &counter, sizeof counter)) return 4;
  }
}

int RunChild(const QByteArray& mode) {
  try {
    if (mode.startsWith("writer:")) return RunWriter(QString::fromLatin1(mode.mid(7)));
    if (mode == "burst") return RunBurst();
    std::fprintf(stderr, "unknown child mode %s\n", mode.constData());
    return 5;
  } catch (const ScopeError& error) {
    std::fprintf(stderr, "child %s: %s\n", mode.constData(), error.what());
    return 2;
  }
}

// Runs before main(): a child never starts the test framework.
[[maybe_unused]] const bool childModeChecked = [] {
  const QByteArray mode = qgetenv(ChildModeVariable);
  if (mode.isEmpty()) return false;
  std::fflush(stderr);
  ::_exit(RunChild(mode));
}();

[[noreturn]] void Fail(const char* what) {
  throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

}  // namespace

StoreChild::StoreChild(const QByteArray& mode) {
  int goPipe[2];
  int reportPipe[2];
  if (::pipe2(goPipe, O_CLOEXEC) != 0 || ::pipe2(reportPipe, O_CLOEXEC) != 0) Fail("pipe");
  goFd_ = goPipe[1];
  reportFd_ = reportPipe[0];

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, goPipe[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, reportPipe[1], STDOUT_FILENO);

  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    if (std::strncmp(*entry, ChildModeVariable, std::strlen(ChildModeVariable)) != 0) environment.emplace_back(*entry);
  }
  environment.push_back(std::string(ChildModeVariable) + "=" + mode.toStdString());
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  // Should the child mode ever be skipped, the child runs no test.
  std::string program = "/proc/self/exe";
  std::string noTests = "--gtest_filter=-*";
  char* argv[] = {program.data(), noTests.data(), nullptr};

  const int spawned = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(goPipe[0]);
  ::close(reportPipe[1]);
  if (spawned != 0) {
    errno = spawned;
    pid_ = -1;
    Fail("posix_spawn");
  }
}

StoreChild::~StoreChild() {
  if (pid_ > 0) {
    Kill();
    Wait();
  }
  if (goFd_ >= 0) ::close(goFd_);
  if (reportFd_ >= 0) ::close(reportFd_);
}

void StoreChild::Go() {
  const char go = 'g';
  if (!WriteWhole(goFd_, &go, 1)) Fail("go");
}

void StoreChild::Kill() {
  if (pid_ > 0) ::kill(pid_, SIGKILL);
}

int StoreChild::Wait() {
  if (pid_ <= 0) return -1;
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0) {
    if (errno != EINTR) Fail("waitpid");
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool StoreChild::Pump(int timeoutMs) {
  pollfd ready{reportFd_, POLLIN, 0};
  if (::poll(&ready, 1, timeoutMs) <= 0) return false;
  char buffer[4096];
  const ssize_t got = ::read(reportFd_, buffer, sizeof buffer);
  if (got <= 0) {
    if (got < 0 && errno == EINTR) return false;
    reportsEnded_ = true;
    return false;
  }
  pending_.append(buffer, got);
  while (pending_.size() >= qsizetype(sizeof lastReport_)) {
    std::memcpy(&lastReport_, pending_.constData(), sizeof lastReport_);
    pending_.remove(0, sizeof lastReport_);
  }
  return true;
}

std::int32_t StoreChild::AwaitReport(std::int32_t atLeast, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (lastReport_ < atLeast && !reportsEnded_ && std::chrono::steady_clock::now() < end) Pump(50);
  return lastReport_;
}

std::int32_t StoreChild::DrainReports() {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!reportsEnded_ && std::chrono::steady_clock::now() < end) Pump(50);
  if (!reportsEnded_) throw std::runtime_error("the child's reports never ended");
  return lastReport_;
}
