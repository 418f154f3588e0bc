// tessaron-sim: the simulated instrument as a program of its own. Prints the
// serial device to open and serves it until SIGINT or SIGTERM (or until the
// drop fault has closed the link).
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "sim/SimServer.h"

namespace {

// The link is ours only while it still points at our device: another run may
// have replaced it meanwhile.
void RemoveLinkIfOurs(const std::string& link, const std::string& target) {
  char buffer[4096];
  const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer - 1);
  if (n < 0) return;
  if (std::string(buffer, static_cast<std::size_t>(n)) == target) ::unlink(link.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const sim::ParsedArguments parsed = sim::ParseArguments({argv + 1, argv + argc});
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "tessaron-sim: %s\n", parsed.error.c_str());
    return 2;
  }
  if (parsed.help) {
    std::fputs(sim::HelpText().c_str(), stdout);
    return 0;
  }

  // Blocked before the server's thread exists, so only sigtimedwait below
  // ever sees them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  try {
    sim::SimServer server(parsed.config);
    const std::string& linkPath = parsed.config.linkPath;
    if (!linkPath.empty()) {
      if (::unlink(linkPath.c_str()) != 0 && errno != ENOENT) {
        std::fprintf(stderr, "tessaron-sim: cannot replace %s: %s\n", linkPath.c_str(),
                     std::strerror(errno));
        return 1;
      }
      if (::symlink(server.SlavePath().c_str(), linkPath.c_str()) != 0) {
        std::fprintf(stderr, "tessaron-sim: cannot make %s: %s\n", linkPath.c_str(),
                     std::strerror(errno));
        return 1;
      }
    }
    std::printf("%s\n", server.SlavePath().c_str());
    std::fflush(stdout);

    // The drop fault ends the run from the server's side, so look at it now
    // and then while waiting for a signal.
    const timespec checkEvery{0, 100 * 1000 * 1000};
    while (!server.LinkDropped()) {
      if (sigtimedwait(&stopSignals, nullptr, &checkEvery) > 0) break;
    }
    if (server.LinkDropped()) {
      std::fprintf(stderr, "tessaron-sim: link dropped after %d captures\n",
                   server.CapturesAnswered());
    }
    if (!linkPath.empty()) RemoveLinkIfOurs(linkPath, server.SlavePath());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tessaron-sim: %s\n", error.what());
    return 1;
  }
  return 0;
}
