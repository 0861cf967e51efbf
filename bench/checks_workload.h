// What the benchmarks time: the 50 scan checks back to back, and as a baseline the same
// registry reads (and the one folder listing) done straight on the registry backend.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "sysaccess/registry_backend.h"

namespace corrivo::bench {

// The IDs of the 50 scan items, in index order (101 ... 510).
std::vector<int> ScanItemIds();

// Puts the values the checks read in place by running their repairs. Commands are recorded,
// not launched; repairs with special steps (201, 503) are left out.
void SeedByRepairs(const FixArgs& args);

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
  FixArgs args;
  std::vector<RawRead> reads;
  std::vector<std::wstring> folders;  // folders the checks list (with trailing backslash)
};

// Runs the checks once through a recording backend and notes every value read.
Workload RecordWorkload(const FixArgs& args);

// One pass of all 50 checks (items without a check count as no problem, as in the scan);
// answers the number of problems found.
int RunChecks(const Workload& w);

// One pass of the same reads straight on the current backend; answers how many succeeded.
int RunRawReads(const Workload& w);

}  // namespace corrivo::bench
