#pragma once
// TSerial: one serial port with a time-out on every call. Synchronous and
// single-threaded; nothing runs in the background. Reads and writes report by
// return value, never by throwing: -1 for a read time-out, 1000 for a byte read
// on a closed port, false for a failed write or open.
//
// On Linux the port is a termios device in raw mode. The name "SIM1" opens the
// built-in simulated instrument (a pseudo-terminal with the simulator on its
// own thread), which lives exactly as long as the port stays open.

#include <termios.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "serial/PortPath.h"

class BuiltInSimulator;  // sim/, started by Open("SIM1")

class TSerial {
 public:
  TSerial();
  ~TSerial();
  TSerial(const TSerial&) = delete;
  TSerial& operator=(const TSerial&) = delete;

  bool Open(const std::string& portName, const std::string& baud, const std::string& parity,
            const std::string& dataBits, bool showErrors);
  void Close();
  int InQueueCount();
  int ReadBuffer(void* destination, int count);
  int ReadByte(int timeoutMs);
  bool WriteByte(int value, int timeoutMs);
  int ReadBlock(int count, int timeoutMs);
  void SetDTR(int state);
  void SetRTS(int state);
  bool SetTimeouts(std::uint32_t readInterval, std::uint32_t readMultiplier,
                   std::uint32_t readConstant, std::uint32_t writeMultiplier,
                   std::uint32_t writeConstant);
  void Configure(const std::string& baud, const std::string& parity, const std::string& dataBits);

  // Fields, as the rest of the program reads them.
  bool IsOpen = false;
  std::string PortName;
  int Handle = -1;  // file descriptor; -1 when closed
  std::unique_ptr<std::uint8_t[]> ScratchBuffer;  // 4097 bytes while open
  std::array<std::uint32_t, 5> Timeouts{};
  std::uint32_t LastError = 0;

  // Where the show-errors form of Open reports: the shell points these at its
  // message box and beep. Unset, the text goes nowhere.
  std::function<void(const std::string& text)> ShowErrorBox;
  std::function<void(int frequencyHz, int durationMs)> Beep;

  // True once the device behind an open port has gone (USB unplugged, the
  // simulator killed): reads then time out and writes fail until Close.
  bool DeviceGone() const { return deviceGone_; }

 private:
  bool FailOpen(const std::string& name, int error, bool showErrors);
  bool RefuseName(const std::string& name, port_path::Refusal refusal, bool showErrors);
  void RestoreLine();
  void Report(const std::string& text, bool show);
  void SetModemLine(int line, int state);
  int ReadWithinTimeouts(std::uint8_t* destination, int count);
  bool WriteWithinTimeouts(const std::uint8_t* source, int count);
  bool PeerHungUp() const;
  bool ReadErrorCounts(std::array<int, 5>& counts) const;

  bool deviceGone_ = false;
  termios lineAtOpen_{};  // put back at Close
  bool pseudoTerminal_ = false;
  std::optional<std::string> refusedName_;  // the last name refused, told once
  std::unique_ptr<BuiltInSimulator> simulator_;
  // The driver's line-error counters at the last status query, when it keeps
  // any (a pseudo-terminal does not: found once at open, so a status query
  // on such a port asks the driver only for its queue).
  std::array<int, 5> errorCounts_{};
  bool keepsErrorCounts_ = false;
};
