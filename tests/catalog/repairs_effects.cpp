#include "tests/catalog/repairs_effects.h"

#include "catalog/catalog.h"

#include <gtest/gtest.h>

#include "sysaccess/text.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

// The value the arrangement leaves beside everything the repair deletes.
constexpr const wchar_t* kNeighbour = L"CorrivoNeighbour";

std::wstring Parent(const std::wstring& key) {
  std::wstring k = key;
  while (!k.empty() && k.back() == L'\\') k.pop_back();
  std::size_t slash = k.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : k.substr(0, slash);
}

void Put(MemoryRegistry& registry, const RegValue& v) {
  RegRoot root = RootOf(v.root);
  switch (v.type) {
    case RegType::Dword: registry.PutDword(root, v.key, v.name, v.dword); break;
    case RegType::Sz:
    case RegType::ExpandSz: registry.PutString(root, v.key, v.name, v.text, v.type); break;
    default: registry.Put(root, v.key, v.name, v.type, v.bytes); break;
  }
}

void ArrangeRemovals(MemoryRegistry& registry, const Effects& e, bool removed) {
  for (const auto& v : e.deletedValues) {
    registry.PutDword(RootOf(v.root), v.key, kNeighbour, 7);
    if (!removed) registry.PutDword(RootOf(v.root), v.key, v.name, 1);
  }
  for (const auto& k : e.deletedKeys) {
    registry.PutDword(RootOf(k.root), Parent(k.key), kNeighbour, 7);
    if (!removed) registry.PutDword(RootOf(k.root), k.key + L"\\Inner", L"Data", 1);
  }
}

std::string Where(const std::wstring& root, const std::wstring& key, const std::wstring& name) {
  return Narrow(root + key + L" [" + name + L"]");
}

void ExpectWrite(const MemoryRegistry& registry, const RegValue& w) {
  SCOPED_TRACE(Where(w.root, w.key, w.name));
  auto value = registry.Get(RootOf(w.root), w.key, w.name);
  ASSERT_TRUE(value.has_value()) << "value missing";
  EXPECT_EQ(static_cast<int>(value->type), static_cast<int>(w.type));
  switch (w.type) {
    case RegType::Dword: EXPECT_EQ(registry.GetDword(RootOf(w.root), w.key, w.name), w.dword); break;
    case RegType::Sz:
    case RegType::ExpandSz: {
      RegType type = RegType::None;
      auto text = registry.GetString(RootOf(w.root), w.key, w.name, &type);
      ASSERT_TRUE(text.has_value());
      EXPECT_EQ(Narrow(*text), Narrow(w.text));
      break;
    }
    default: EXPECT_EQ(value->data, w.bytes); break;
  }
}

}  // namespace

RegRoot RootOf(const std::wstring& rootName) {
  if (rootName == L"HKEY_CLASSES_ROOT") return RegRoot::ClassesRoot;
  if (rootName == L"HKEY_LOCAL_MACHINE") return RegRoot::LocalMachine;
  if (rootName == L"HKEY_USERS") return RegRoot::Users;
  if (rootName == L"HKEY_CURRENT_CONFIG") return RegRoot::CurrentConfig;
  return RegRoot::CurrentUser;
}

RegValue Dword(std::wstring root, std::wstring key, std::wstring name, std::uint32_t value) {
  return {std::move(root), std::move(key), std::move(name), RegType::Dword, value, {}, {}};
}
RegValue Sz(std::wstring root, std::wstring key, std::wstring name, std::wstring text) {
  return {std::move(root), std::move(key), std::move(name), RegType::Sz, 0, std::move(text), {}};
}
RegValue ExpandSz(std::wstring root, std::wstring key, std::wstring name, std::wstring text) {
  return {std::move(root), std::move(key), std::move(name), RegType::ExpandSz, 0, std::move(text), {}};
}
RegValue Binary(std::wstring root, std::wstring key, std::wstring name, std::vector<std::uint8_t> bytes) {
  return {std::move(root), std::move(key), std::move(name), RegType::Binary, 0, {}, std::move(bytes)};
}

void Arrange(MemoryRegistry& registry, const Effects& effects) {
  for (const auto& v : effects.before) Put(registry, v);
  ArrangeRemovals(registry, effects, false);
}

void ExpectEffects(const MemoryRegistry& registry, const RecordingRunner& runner, const VirtualClock& clock,
                   bool result, const Effects& e) {
  EXPECT_EQ(result, e.result);
  std::vector<std::string> commands, expectedCommands;
  for (const auto& c : runner.Commands()) commands.push_back(Narrow(c));
  for (const auto& c : e.commands) expectedCommands.push_back(Narrow(c));
  EXPECT_EQ(commands, expectedCommands);
  EXPECT_EQ(clock.Sleeps(), e.sleeps);
  for (const auto& w : e.writes) ExpectWrite(registry, w);
  for (const auto& v : e.deletedValues) {
    EXPECT_FALSE(registry.Get(RootOf(v.root), v.key, v.name).has_value()) << Where(v.root, v.key, v.name);
    EXPECT_TRUE(registry.Get(RootOf(v.root), v.key, kNeighbour).has_value()) << Where(v.root, v.key, kNeighbour);
  }
  for (const auto& k : e.deletedKeys) {
    EXPECT_FALSE(registry.HasKey(RootOf(k.root), k.key)) << Where(k.root, k.key, L"");
    EXPECT_TRUE(registry.Get(RootOf(k.root), Parent(k.key), kNeighbour).has_value()) << Where(k.root, k.key, L"..");
  }
  for (const auto& k : e.createdKeys) EXPECT_TRUE(registry.HasKey(RootOf(k.root), k.key)) << Where(k.root, k.key, L"");

  // Nothing else changed: rebuild the expected registry from the arrangement.
  MemoryRegistry expected;
  for (const auto& v : e.before) Put(expected, v);
  ArrangeRemovals(expected, e, true);
  for (const auto& w : e.writes) Put(expected, w);
  for (const auto& k : e.createdKeys) expected.PutKey(RootOf(k.root), k.key);
  EXPECT_EQ(Narrow(registry.Dump()), Narrow(expected.Dump()));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

std::string CaseName(const RepairCase& c) {
  return "Fix" + std::to_string(c.id) + " os " + std::to_string(c.os);
}

void ExpectEveryRepair(const std::vector<int>& ids, const std::function<Effects(int, std::int32_t)>& expected,
                       RecordingRunner& runner, VirtualClock& clock, const std::function<void(int)>& before,
                       const std::function<void(int)>& after) {
  for (int id : ids) {
    for (std::int32_t os : kVersionCodes) {
      RepairCase c{id, os, expected(id, os)};
      SCOPED_TRACE(CaseName(c));
      MemoryRegistry fresh;
      ScopedRegistryBackend scoped(fresh);
      runner.Clear();
      clock.ClearSleeps();
      if (before) before(id);
      Arrange(fresh, c.effects);
      bool result = RunFix(id, FixArgs{os, L"IE8"});
      ExpectEffects(fresh, runner, clock, result, c.effects);
      if (after) after(id);
    }
  }
}

std::vector<int> IdRange(int first, int last) {
  std::vector<int> ids;
  for (int id = first; id <= last; ++id) ids.push_back(id);
  return ids;
}

}  // namespace corrivo::testing
