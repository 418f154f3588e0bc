// The record history's cost: the resident memory of a full history of 1000
// records against none (counter `history_kB`, and `per_record_B`), the time
// to add a record to a full history, and to save and open a history of 100.
#include "ResidentMemory.h"
#include "core/RecordFile.h"
#include "core/RecordHistory.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A two-channel record at 100 us/div whose samples differ with `seed`, so
// no two records share a page of zeros.
core::Record RecordFor(int seed) {
  core::Record r;
  r.SetTimeBase(3, false);
  r.samplePeriodUs = 2;
  r.sampleRateText = QStringLiteral("500KS/s");
  r.channels = {core::RecordChannel{true, true, 78, 0}, core::RecordChannel{true, false, 156, 0}};
  for (int k = 1; k <= 1500; ++k) {
    r.ch1[std::size_t(k)] = std::uint8_t(k + seed);
    r.ch2[std::size_t(k)] = std::uint8_t(k * 3 + seed);
  }
  r.samplesReceived = 3000;
  r.received = QDateTime::currentDateTime();
  r.sequence = std::uint64_t(seed);
  return r;
}

void BM_ThousandRecordsHeld(benchmark::State& state) {
  long grown = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const long before = ResidentKb();
    state.ResumeTiming();
    auto history = std::make_unique<core::RecordHistory>(core::RecordHistory::MaxCapacity);
    for (int seed = 1; seed <= core::RecordHistory::MaxCapacity; ++seed) history->Add(RecordFor(seed));
    state.PauseTiming();
    grown = ResidentKb() - before;
    history.reset();
    state.ResumeTiming();
  }
  state.counters["history_kB"] = double(grown);
  state.counters["per_record_B"] = double(grown) * 1024 / core::RecordHistory::MaxCapacity;
  state.counters["sizeof_Record_B"] = double(sizeof(core::Record));
}
BENCHMARK(BM_ThousandRecordsHeld)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_AddToAFullHistory(benchmark::State& state) {
  core::RecordHistory history(core::RecordHistory::MaxCapacity);
  for (int seed = 1; seed <= core::RecordHistory::MaxCapacity; ++seed) history.Add(RecordFor(seed));
  const core::Record next = RecordFor(7);
  for (auto _ : state) history.Add(next);
}
BENCHMARK(BM_AddToAFullHistory)->Unit(benchmark::kMicrosecond);

void BM_SaveAndOpenAHundredRecords(benchmark::State& state) {
  core::RecordHistory history;
  for (int seed = 1; seed <= core::RecordHistory::DefaultCapacity; ++seed) history.Add(RecordFor(seed));
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("history.csv"));
  for (auto _ : state) {
    record_file::WriteHistory(path, history, {200, 300});
    benchmark::DoNotOptimize(record_file::Read(path));
  }
}
BENCHMARK(BM_SaveAndOpenAHundredRecords)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
