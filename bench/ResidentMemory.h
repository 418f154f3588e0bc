#pragma once
// The resident memory of a process as the kernel counts it (VmRSS in
// /proc/PID/status), in kB: this process's, or another's by its id.

#include <fstream>
#include <string>

// -1 where the process is gone or the line cannot be read.
inline long ResidentKb(long long pid = 0) {
  std::ifstream status(pid == 0 ? std::string("/proc/self/status") : "/proc/" + std::to_string(pid) + "/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kb = 0;
      status >> kb;
      return kb;
    }
    status.ignore(1 << 12, '\n');
  }
  return -1;
}
