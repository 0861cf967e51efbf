// Google Benchmark on Linux: the scan's checks against the in-memory registry of the Linux
// build, and the same reads straight on it.
#include <benchmark/benchmark.h>

#include "bench/checks_workload.h"

namespace corrivo::bench {
namespace {

struct Fixture {
  System& system = PlatformSystem();
  Workload workload;
  Fixture() {
    const RepairArgs args{WindowsVersion::XP, L"IE8"};
    SeedByRepairs(system, args);
    workload = RecordWorkload(system, args);
  }
};

Fixture& Shared() {
  static Fixture f;
  return f;
}

void BM_ScanChecks(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(RunChecks(f.system, f.workload));
  state.counters["reads"] = static_cast<double>(f.workload.reads.size());
}

void BM_RawReads(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(RunRawReads(f.system, f.workload));
  state.counters["reads"] = static_cast<double>(f.workload.reads.size());
}

BENCHMARK(BM_ScanChecks)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawReads)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace corrivo::bench

BENCHMARK_MAIN();
