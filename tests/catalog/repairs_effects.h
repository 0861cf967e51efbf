// What a repair is expected to do, written out as data, and the comparison of that with what
// it did to the memory registry, the runner and the clock.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sysaccess/memory/memory_registry.h"
#include "sysaccess/memory/recording_runner.h"
#include "sysaccess/memory/virtual_clock.h"

namespace corrivo::testing {

RegRoot RootOf(const std::wstring& rootName);

// One registry value as the repair leaves it (or as it is before the repair).
struct RegValue {
  std::wstring root;
  std::wstring key;
  std::wstring name;
  RegType type = RegType::None;
  std::uint32_t dword = 0;
  std::wstring text;
  std::vector<std::uint8_t> bytes;
};
RegValue Dword(std::wstring root, std::wstring key, std::wstring name, std::uint32_t value);
RegValue Sz(std::wstring root, std::wstring key, std::wstring name, std::wstring text);
RegValue ExpandSz(std::wstring root, std::wstring key, std::wstring name, std::wstring text);
RegValue Binary(std::wstring root, std::wstring key, std::wstring name, std::vector<std::uint8_t> bytes);

// A key, or a value when `name` is set.
struct RegPlace {
  std::wstring root;
  std::wstring key;
  std::wstring name;
};

struct Effects {
  std::vector<RegValue> before;         // in the registry before the repair runs
  std::vector<RegValue> writes;         // present afterwards with exactly this type and data
  std::vector<RegPlace> deletedValues;  // present before (beside a value that must stay), gone after
  std::vector<RegPlace> deletedKeys;    // present before with a subkey, gone after
  std::vector<RegPlace> createdKeys;    // exist afterwards
  std::vector<std::wstring> commands;   // launched, in this order
  std::vector<std::uint32_t> sleeps;    // pauses, in this order
  bool result = true;
};

// Puts `before`, the values and keys the repair should remove and their neighbours in place.
void Arrange(MemoryRegistry& registry, const Effects& effects);
// Checks every effect, then that the whole registry is exactly the arranged one changed by the
// expected effects and nothing else, and that no key handle was left open.
void ExpectEffects(const MemoryRegistry& registry, const RecordingRunner& runner, const VirtualClock& clock,
                   bool result, const Effects& effects);

// One repair run: the ID, the version code it receives and what it must do.
struct RepairCase {
  int id;
  std::int32_t os;
  Effects effects;
};
std::string CaseName(const RepairCase& c);

constexpr std::int32_t kVersionCodes[] = {0, 1, 3, 6};

// Runs each repair of `ids` once for every version code, each time in a fresh registry arranged
// for it, and compares what it did with `expected(id, os)`. `before` runs ahead of each repair
// (to reset other doubles), `after` behind it (to check them).
void ExpectEveryRepair(const std::vector<int>& ids, const std::function<Effects(int, std::int32_t)>& expected,
                       RecordingRunner& runner, VirtualClock& clock,
                       const std::function<void(int)>& before = {}, const std::function<void(int)>& after = {});
std::vector<int> IdRange(int first, int last);

}  // namespace corrivo::testing
