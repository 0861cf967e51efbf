// Google Benchmark on Linux: the 50 scan checks against the memory registry, and the same reads
// straight on it.
#include <benchmark/benchmark.h>

#include "bench/checks_workload.h"
#include "sysaccess/memory/memory_registry.h"

namespace corrivo::bench {
namespace {

struct Fixture {
  MemoryRegistry registry;
  ScopedRegistryBackend scoped{registry};
  Workload workload;
  Fixture() {
    FixArgs args{0, L"IE8"};
    SeedByRepairs(args);
    workload = RecordWorkload(args);
  }
};

Fixture& Shared() {
  static Fixture f;
  return f;
}

void BM_FiftyChecks(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(RunChecks(f.workload));
  state.counters["reads"] = static_cast<double>(f.workload.reads.size());
}

void BM_RawReads(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(RunRawReads(f.workload));
  state.counters["reads"] = static_cast<double>(f.workload.reads.size());
}

BENCHMARK(BM_FiftyChecks)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawReads)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace corrivo::bench

BENCHMARK_MAIN();
