// The problems the catalogue tests plant before a repair runs, shared by the catalogue, preview,
// export and offline tests (header-only: only tests that link the catalogue include it).
#pragma once

#include <string>
#include <vector>

#include "catalog/plan.h"
#include "catalog/reg_file.h"
#include "sysaccess/memory/memory_registry.h"
#include "sysaccess/text.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {

inline std::string Label(int id, WindowsVersion v) {
  return "repair " + std::to_string(id) + " on Windows " + Narrow(VersionName(v));
}

inline bool Contains(const std::wstring& text, const std::wstring& piece) { return text.find(piece) != std::wstring::npos; }

inline RegistryValue DwordValue(std::uint32_t v) {
  return {RegType::Dword, {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)}};
}

// Text as the registry keeps it: UTF-16 LE with its terminator.
inline RegistryValue TextValue(RegType type, const std::wstring& text) {
  const auto units = WideToUtf16Le(text, true);
  return {type, {units.begin(), units.end()}};
}

// One value to plant, under a root and key (no outer backslashes).
struct PlantedValue {
  RegRoot root;
  std::wstring key, name;
  RegistryValue value;
};

// The problem each registry step repairs: another value of the written type where it writes one,
// a value where it deletes one, a key with content where it deletes a key, a shell state with
// the warning off where it patches one. With `otherTypes`, what a careless repair trips over
// instead: a string where a DWORD goes and the other way round, binary data where a value is
// deleted, a shell state too short to patch.
inline std::vector<PlantedValue> Problems(const Plan& plan, bool otherTypes = false) {
  std::vector<PlantedValue> out;
  for (const Step& s : plan) {
    const std::wstring key = PlainKeyPath(s.key);
    const RegType textType = s.kind == StepKind::WriteString ? RegType::Sz : RegType::ExpandSz;
    switch (s.kind) {
      case StepKind::WriteDword:
        out.push_back({s.root, key, s.name,
                       otherTypes ? TextValue(RegType::Sz, L"17") : DwordValue(std::uint32_t(s.dword) + 1)});
        break;
      case StepKind::WriteString:
      case StepKind::WriteExpandString:
        out.push_back({s.root, key, s.name, otherTypes ? DwordValue(5) : TextValue(textType, s.text + L"-planted")});
        break;
      case StepKind::DeleteValue:
        out.push_back({s.root, key, s.name, {otherTypes ? RegType::Binary : RegType::Dword, {1, 0, 0, 0}}});
        break;
      case StepKind::DeleteKey: out.push_back({s.root, key + L"\\Child", L"planted", DwordValue(1)}); break;
      case StepKind::Special:
        if (s.special == SpecialStep::PatchStickyNotesFlags)
          out.push_back({s.root, key, s.name, {RegType::Binary, std::vector<std::uint8_t>(otherTypes ? 3 : 36, 0)}});
        break;
      default: break;
    }
  }
  return out;
}

inline void PlantProblems(MemoryRegistry& registry, const Plan& plan, bool otherTypes = false) {
  for (const PlantedValue& p : Problems(plan, otherTypes)) registry.Put(p.root, p.key, p.name, p.value.type, p.value.data);
}

}  // namespace corrivo::testing
