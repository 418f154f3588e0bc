#pragma once
// The last complete records, oldest first, and which of them is shown. A
// new record joins at the end and is shown; when the history is full the
// oldest goes. While stopped the user steps back and forth through it; the
// record shown is read by its own description, whatever the panel says now.
//
// A record holds two 3001-byte buffers and its description: sizeof(Record)
// is about 6.1 kB, so the largest history (1000 records) holds about 6 MB.

#include "core/Record.h"

#include <QString>

#include <cstdint>
#include <deque>

namespace core {

class RecordHistory {
 public:
  static constexpr int DefaultCapacity = 100;
  static constexpr int MinCapacity = 10;
  static constexpr int MaxCapacity = 1000;

  // Throws ScopeError for a capacity outside MinCapacity..MaxCapacity.
  explicit RecordHistory(int capacity = DefaultCapacity);

  int Capacity() const { return capacity_; }
  // Refuses a capacity outside MinCapacity..MaxCapacity with a ScopeError and
  // changes nothing. A smaller one drops the oldest records beyond it; the
  // record shown stays shown, or, if it was dropped, the oldest kept is.
  void SetCapacity(int capacity);

  int Size() const { return static_cast<int>(records_.size()); }
  bool Empty() const { return records_.empty(); }

  // The record joins as the latest and is shown; a full history drops its
  // oldest. Indices outside the record's own samples are cleared
  // (WithOwnSamplesOnly): they held an earlier record's samples.
  void Add(Record record);
  // Forgets every record.
  void Clear();

  // The record shown; throws ScopeError when the history is empty.
  const Record& Shown() const;
  // 1 for the oldest .. Size() for the latest; 0 when empty.
  int ShownNumber() const { return shown_ + 1; }
  bool ShowingLatest() const { return shown_ == Size() - 1; }

  // Each returns whether the record shown changed: nothing before the
  // oldest, after the latest, or in an empty history.
  bool Previous();
  bool Next();
  bool Latest();

  // Record `number` (1 = oldest); throws "List index out of bounds (%d)"
  // with the index counted from 0 for a number outside 1..Size().
  const Record& At(int number) const;

  // "Record 37 of 100" for the status strip; empty for an empty history.
  QString PositionText() const;

 private:
  int capacity_;
  std::deque<Record> records_;
  int shown_ = -1;  // index into records_, -1 when empty
};

// "Record n of N".
QString RecordPositionText(int number, int count);

}  // namespace core
