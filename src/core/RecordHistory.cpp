#include "core/RecordHistory.h"

#include "app/Errors.h"
#include "core/RecordSamples.h"

#include <algorithm>
#include <utility>

namespace core {

namespace {

void CheckCapacity(int capacity) {
  if (capacity < RecordHistory::MinCapacity || capacity > RecordHistory::MaxCapacity) {
    throw ScopeError(QStringLiteral("The record history holds %1 to %2 records, not %3")
                         .arg(RecordHistory::MinCapacity)
                         .arg(RecordHistory::MaxCapacity)
                         .arg(capacity));
  }
}

}  // namespace

RecordHistory::RecordHistory(int capacity) : capacity_(capacity) { CheckCapacity(capacity); }

void RecordHistory::SetCapacity(int capacity) {
  CheckCapacity(capacity);
  capacity_ = capacity;
  const int dropped = Size() - capacity;
  if (dropped <= 0) return;
  records_.erase(records_.begin(), records_.begin() + dropped);
  shown_ = std::max(shown_ - dropped, 0);
}

void RecordHistory::Add(Record record) {
  if (Size() == capacity_) records_.pop_front();
  records_.push_back(WithOwnSamplesOnly(std::move(record)));
  shown_ = Size() - 1;
}

void RecordHistory::Clear() {
  records_.clear();
  shown_ = -1;
}

const Record& RecordHistory::Shown() const {
  if (Empty()) throw ScopeError(QStringLiteral("The record history is empty: no record has been received yet"));
  return records_[static_cast<std::size_t>(shown_)];
}

bool RecordHistory::Previous() {
  if (shown_ <= 0) return false;
  --shown_;
  return true;
}

bool RecordHistory::Next() {
  if (Empty() || ShowingLatest()) return false;
  ++shown_;
  return true;
}

bool RecordHistory::Latest() {
  if (Empty() || ShowingLatest()) return false;
  shown_ = Size() - 1;
  return true;
}

const Record& RecordHistory::At(int number) const {
  CheckListIndex(std::int64_t(number) - 1, Size());
  return records_[static_cast<std::size_t>(number - 1)];
}

QString RecordHistory::PositionText() const {
  return Empty() ? QString() : RecordPositionText(ShownNumber(), Size());
}

QString RecordPositionText(int number, int count) {
  return QStringLiteral("Record %1 of %2").arg(number).arg(count);
}

}  // namespace core
