#pragma once
// What the instrument received, frame by frame: a capture command, "?", the
// stop byte, or a byte it ignored. One log serves both the tessaron-sim
// program and the instrument built into the scope: the frames are kept in
// memory up to a fixed number (the oldest go first, so a simulator left
// running all day does not grow), and written to a file as lines of hex when
// one is asked for. Thread-safe: the serving thread records, anyone reads.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

enum class FrameKind { Capture, Identify, Stop, Ignored };

struct ReceivedFrame {
  FrameKind kind = FrameKind::Ignored;
  std::vector<std::uint8_t> bytes;
};

// "AA 61 F3": upper-case hex, one space between bytes.
std::string HexText(const std::vector<std::uint8_t>& bytes);

class FrameLog {
 public:
  // Enough for any test's whole exchange; a few hundred kilobytes at most.
  static constexpr std::size_t DefaultCapacity = 4096;

  // Throws std::runtime_error when `filePath` (if not empty) cannot be created.
  explicit FrameLog(const std::string& filePath = {}, std::size_t capacity = DefaultCapacity);
  ~FrameLog();
  FrameLog(const FrameLog&) = delete;
  FrameLog& operator=(const FrameLog&) = delete;

  void Record(FrameKind kind, std::vector<std::uint8_t> bytes);

  // The frames still held, oldest first.
  std::vector<ReceivedFrame> Frames() const;
  // Every frame ever recorded, including those no longer held.
  std::uint64_t TotalRecorded() const;
  std::size_t Capacity() const { return capacity_; }

 private:
  const std::size_t capacity_;
  std::FILE* file_ = nullptr;
  mutable std::mutex mutex_;
  std::deque<ReceivedFrame> frames_;
  std::uint64_t total_ = 0;
};

}  // namespace sim
