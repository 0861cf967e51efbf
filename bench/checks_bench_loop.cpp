// The same comparison under Wine against the real registry, with a plain timing loop (Google
// Benchmark is not built for mingw here). Prints the mean and best time of one pass of each
// and their ratio.
#include <algorithm>
#include <utility>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/checks_workload.h"

namespace corrivo::bench {
namespace {

struct Timing {
  double meanMs;
  double medianMs;
  double bestMs;
};

Timing Summarise(std::vector<double> ms) {
  double sum = 0;
  for (double m : ms) sum += m;
  std::sort(ms.begin(), ms.end());
  return {sum / ms.size(), ms[ms.size() / 2], ms.front()};
}

template <typename Pass>
double TimeOnce(Pass pass) {
  using Clock = std::chrono::steady_clock;
  static volatile int sink = 0;
  auto start = Clock::now();
  sink = sink + pass();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The two passes alternate round by round, so that a busy moment of the machine hits both.
template <typename A, typename B>
std::pair<Timing, Timing> TimeInterleaved(int rounds, A a, B b) {
  std::vector<double> ta, tb;
  for (int i = 0; i < rounds; ++i) {
    ta.push_back(TimeOnce(a));
    tb.push_back(TimeOnce(b));
  }
  return {Summarise(ta), Summarise(tb)};
}

}  // namespace
}  // namespace corrivo::bench

int main(int argc, char** argv) {
  using namespace corrivo::bench;
  int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
  if (rounds < 1) rounds = 1;
  corrivo::System& system = corrivo::PlatformSystem();
  const corrivo::RepairArgs args{corrivo::WindowsVersion::XP, L"IE8"};
  SeedByRepairs(system, args);
  Workload w = RecordWorkload(system, args);
  // Warm the registry and the file cache before measuring.
  RunChecks(system, w);
  RunRawReads(system, w);
  auto [checks, raw] =
      TimeInterleaved(rounds, [&] { return RunChecks(system, w); }, [&] { return RunRawReads(system, w); });
  std::printf("rounds %d, value reads per pass %zu, folders listed %zu\n", rounds, w.reads.size(), w.folders.size());
  std::printf("checks    : mean %.3f ms, median %.3f ms, best %.3f ms\n", checks.meanMs, checks.medianMs, checks.bestMs);
  std::printf("raw reads : mean %.3f ms, median %.3f ms, best %.3f ms\n", raw.meanMs, raw.medianMs, raw.bestMs);
  std::printf("ratio     : mean %.2fx, median %.2fx, best %.2fx\n", checks.meanMs / raw.meanMs,
              checks.medianMs / raw.medianMs, checks.bestMs / raw.bestMs);
  if (argc > 2) {
    // Where the time goes: the best time of each check on its own.
    for (const corrivo::Repair* r : corrivo::ScannedRepairs()) {
      if (!r->check) continue;
      std::vector<double> ms;
      for (int i = 0; i < rounds; ++i)
        ms.push_back(TimeOnce([&] { return corrivo::RunCheck(system, r->id, args) ? 1 : 0; }));
      Timing one = Summarise(ms);
      std::printf("  Check%d: best %.3f ms\n", r->id, one.bestMs);
    }
  }
  return 0;
}
