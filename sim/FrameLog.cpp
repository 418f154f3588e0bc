#include "sim/FrameLog.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace sim {

std::string HexText(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (std::uint8_t b : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

FrameLog::FrameLog(const std::string& filePath, std::size_t capacity)
    : capacity_(capacity > 0 ? capacity : 1) {
  if (filePath.empty()) return;
  file_ = std::fopen(filePath.c_str(), "we");
  if (file_ == nullptr) {
    throw std::runtime_error("cannot create " + filePath + ": " + std::strerror(errno));
  }
}

FrameLog::~FrameLog() {
  if (file_ != nullptr) std::fclose(file_);
}

void FrameLog::Record(FrameKind kind, std::vector<std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  if (file_ != nullptr) {
    // Flushed per frame: a test reads the file while the simulator runs.
    std::fprintf(file_, "%s\n", HexText(bytes).c_str());
    std::fflush(file_);
  }
  if (frames_.size() == capacity_) frames_.pop_front();
  frames_.push_back({kind, std::move(bytes)});
  ++total_;
}

std::vector<ReceivedFrame> FrameLog::Frames() const {
  std::lock_guard lock(mutex_);
  return {frames_.begin(), frames_.end()};
}

std::uint64_t FrameLog::TotalRecorded() const {
  std::lock_guard lock(mutex_);
  return total_;
}

}  // namespace sim
