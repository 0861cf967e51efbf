// What the benchmarks time: the 50 scan checks back to back, and as a baseline the same
// registry reads (and the one folder listing) done straight on the registry backend.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "sysaccess/system.h"

namespace corrivo::bench {

// Puts the values the checks read in place by running their repairs on the system's registry.
// Commands, shell requests and pauses are recorded, not carried out.
void SeedByRepairs(System& system, const RepairArgs& args);

// One registry read as the checks make it: the open (with its access) and, when the key could
// be opened, the query of one value.
struct RawRead {
  RegRoot root;
  std::wstring subkey;
  std::uint32_t access;
  bool create;
  std::wstring name;
  bool query;
};

struct Workload {
  RepairArgs args;
  std::vector<RawRead> reads;
  std::vector<std::wstring> folders;  // folders the checks list (with trailing backslash)
};

// Runs the checks once through a recording backend and notes every value read.
Workload RecordWorkload(System& system, const RepairArgs& args);

// One pass of the scan's checks (an item not checked on this version counts as no problem, as
// in the scan); answers the number of problems found.
int RunChecks(System& system, const Workload& w);

// One pass of the same reads straight on the system's backend; answers how many succeeded.
int RunRawReads(System& system, const Workload& w);

}  // namespace corrivo::bench
