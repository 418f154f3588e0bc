#pragma once
// Record files: one record ("Save Record...") or the whole history ("Save
// History...") as a comma-separated table a spreadsheet opens, every line
// ended by CR LF, that opens again into the same records. A header block
// holds each record's description; the data lines hold every sample the
// record has of its own (RecordSamples) as index, raw code and volts.
//
//   Tessaron USB Oscilloscope Record            a history file: RecordHistoryTitle,
//   Received,2026-03-07T14:05:09.123+01:00      then "Records,N" and per record
//   Sequence,12                                 an empty line and "Record,n"
//   Layout,standard                             before its description
//   Time/div,100us/DIV
//   Sample period us,2
//   Sample rate,500KS/s
//   1 MS/s,0
//   Record channel,CH1
//   Samples received,3000
//   Channel,CH1,CH2
//   On,1,1
//   Range,high,low
//   Volts/div,5V/DIV,500mV/DIV
//   Scale,78,156
//   0 V row,200,300
//   Calibration offset,0,-2
//   Averaged records,16                         only for an averaged trace
//
//   Sample,CH1 code,CH1 V,CH2 code,CH2 V        a history file puts "Record," first
//   1,126,0.00,133,-0.10                        and the record's number on each line
//
// An averaged trace (Record::averaged above 1) is saved as the rounded mean
// it shows, with the number of records in it on a row of its own after the
// description; a record as it came has no such row.
//
// A two-channel record (standard or stretched) has 1500 lines of both
// channels, a 3000-sample record 3000 lines of its channel alone. The volts
// are the data export's ((126 - code) x G / 100 in 10 mV, G of the record's
// own range, no calibration), so the table reads like an export; they are
// checked against the code on reading. The 0 V rows are the panel's view,
// not the record's: the writer takes them and the reader gives them back.
//
// Reading follows the house's rules for files: the whole file is read and
// checked before anything is returned, and the first fault is refused with a
// ScopeError that names its line. A file is read a block at a time and
// refused as soon as it fails, so a large file of noise is never held whole:
// its size is checked against what the records its head announces can take.

#include "core/Record.h"
#include "core/RecordHistory.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>
#include <vector>

namespace record_file {

inline constexpr const char* RecordTitle = "Tessaron USB Oscilloscope Record";
inline constexpr const char* HistoryTitle = "Tessaron USB Oscilloscope Record History";

// No line of a record file is longer; a longer one is refused as it is read.
inline constexpr int MaxLineLength = 200;
// More than a record's lines take (3000 data lines of at most 21 bytes, or
// 1500 of 31, and its description), and the largest file: a history of the
// most records the history holds.
inline constexpr qint64 MaxRecordBytes = 128 * 1024;
inline constexpr qint64 MaxFileBytes = core::RecordHistory::MaxCapacity * MaxRecordBytes + 4096;

// The 0 V rows of CH1 and CH2 the record was viewed with.
using ZeroRows = std::array<std::int32_t, 2>;

struct SavedRecord {
  core::Record record;
  ZeroRows zeroRows{};
  friend bool operator==(const SavedRecord&, const SavedRecord&) = default;
};

enum class Kind { Record, History };

struct Contents {
  Kind kind = Kind::Record;
  std::vector<SavedRecord> records;  // oldest first; one for a record file
};

// The lines of a record file holding `record`. Throws ScopeError for a
// record no file can describe: a time base row the knob does not have, or a
// sample-rate text with a comma or a line break in it (never one received).
QStringList RecordLines(const core::Record& record, const ZeroRows& zeroRows);

// A history file: its head, then the lines of each record, numbered from 1
// (the same checks as RecordLines).
QStringList HistoryHeadLines(int recordCount);
QStringList HistoryRecordLines(const core::Record& record, const ZeroRows& zeroRows, int number);

// Reads a file's lines one at a time, checking each as it comes; pure. The
// first fault throws ScopeError naming the line, and the reader is then of
// no further use.
class Reader {
 public:
  // The file's size in bytes, when known: refused (ScopeError) as soon as the
  // head says how many records follow and they could not take that much.
  explicit Reader(qint64 fileBytes = -1) : fileBytes_(fileBytes) {}
  void Line(QStringView line);
  // The records, once every line has been given; throws ScopeError naming
  // what is missing when the file ended early.
  Contents Finish();

 private:
  enum class Expect { Title, Count, Gap, Number, Description, ColumnsGap, Columns, Data, End };
  void Title(QStringView line);
  void Count(QStringView line);
  void Description(QStringView line);
  // The description's rows: those of the record, each with its own check
  // against the rows above it, and those with a value per channel.
  void RecordRow(int row, QStringView value, core::Record& r);
  void ReceivedRow(QStringView value, core::Record& r);
  void SequenceRow(QStringView value, core::Record& r);
  void LayoutNameRow(QStringView value, core::Record& r);
  void TimeDivRow(QStringView value, core::Record& r);
  void SamplePeriodRow(QStringView value, core::Record& r);
  void Rate1MSRow(QStringView value, core::Record& r);
  void ChannelRow(int row, int channel, QStringView value, SavedRecord& saved);
  void ScaleRow(int channel, QStringView value, core::RecordChannel& c);
  std::int32_t ZeroRowValue(int channel, QStringView value) const;
  std::int32_t IntValue(QStringView value) const;
  bool FlagValue(QStringView value) const;
  int ChannelValue(QStringView value) const;
  void Averaged(QStringView line);
  void Columns(QStringView line);
  void Data(QStringView line);
  void BeginRecord();
  void CheckSize(int records) const;
  [[noreturn]] void Fail(const QString& what) const;
  QString Missing() const;

  qint64 fileBytes_;
  int lineNumber_ = 0;
  Expect expect_ = Expect::Title;
  Kind kind_ = Kind::Record;
  int recordCount_ = 1;
  int descriptionRow_ = 0;
  int sampleLine_ = 0;  // data lines of the record so far
  std::array<QString, 2> voltsDivTexts_;  // checked against the scales on the next row
  std::vector<SavedRecord> records_;
};

// The text of a file (its lines split at CR LF, CR or LF) read whole.
Contents Parse(QStringView text);

// Reads and checks the file at `path`. Throws ScopeError "Cannot open file
// <path>" when it cannot be opened or read (gone since the dialog, a
// folder, a device), the size message when it is larger than any record
// file or than its head allows, and the line's message for a bad line.
Contents Read(const QString& path);

// Write the file whole or not at all (a temporary beside it, renamed over
// it). Throw ScopeError "Cannot create file <path>" when it cannot be
// written, and RecordLines' errors for a record no file can describe; the
// old file then stays as it was. An empty history is refused.
void WriteRecord(const QString& path, const core::Record& record, const ZeroRows& zeroRows);
void WriteHistory(const QString& path, const core::RecordHistory& history, const ZeroRows& zeroRows);

}  // namespace record_file
