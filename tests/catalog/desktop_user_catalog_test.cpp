// Every repair that touches HKCU, run with HKCU sent to another user's hive: the registry ends
// as after a plain run, except that each HKCU key is in that hive; HKLM and HKCR are exactly
// as after the plain run, the checks read the same answers from the hive, and the preview
// names the hive.
#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/catalog.h"
#include "catalog/preview.h"
#include "sysaccess/desktop_user.h"
#include "sysaccess/text.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

const std::wstring kSid = L"S-1-5-21-7-7-7-1001";

bool TouchesCurrentUser(const Plan& plan) {
  return std::any_of(plan.begin(), plan.end(),
                     [](const Step& s) { return s.root == RegRoot::CurrentUser && !s.key.empty(); });
}

// Where Windows keeps a user's HKCU in HKEY_USERS, as dump lines spell keys.
std::wstring InUsersHive(const std::wstring& line) {
  const std::wstring hkcu = L"HKEY_CURRENT_USER\\";
  if (line.rfind(hkcu, 0) != 0) return line;
  const std::wstring rest = line.substr(hkcu.size());
  const std::wstring classes = L"software\\classes";
  const std::wstring lower = ToLower(rest);
  if (lower.rfind(classes, 0) == 0 && (lower.size() == classes.size() || lower[classes.size()] == L'\\' ||
                                       lower[classes.size()] == L' '))
    return L"HKEY_USERS\\" + kSid + L"_Classes" + rest.substr(classes.size());
  return L"HKEY_USERS\\" + kSid + L"\\" + rest;
}

std::vector<std::wstring> Lines(const std::wstring& dump, bool toUsersHive) {
  std::vector<std::wstring> out;
  for (const std::wstring& line : Split(dump, L'\n'))
    if (!line.empty()) out.push_back(toUsersHive ? InUsersHive(line) : line);
  std::sort(out.begin(), out.end());
  return out;
}

// A plain machine and one whose HKCU is the other user's hive, each with the problem planted
// where its own registry would see it.
struct Pair {
  TestSystem plain, mapped;
  UserHiveRegistry hive{mapped.registry};
  System mappedSystem{hive, mapped.runner, mapped.files, mapped.os, mapped.shell, mapped.clock};

  Pair() {
    hive.SendCurrentUserTo(kSid);
    for (MemoryRegistry* r : {&plain.registry, &mapped.registry}) r->PutDword(RegRoot::Users, kSid, L"loaded", 1);
  }

  // Another value where a step writes or deletes one, in both machines' own HKCU.
  void Plant(const Plan& plan) {
    const Plan located = LocatePlan(Registry(hive), plan);
    for (std::size_t i = 0; i < plan.size(); ++i) {
      for (auto [registry, s] : {std::pair{&plain.registry, &plan[i]}, std::pair{&mapped.registry, &located[i]}}) {
        std::wstring key = s->key;
        while (!key.empty() && key.front() == L'\\') key.erase(key.begin());
        if (s->kind == StepKind::WriteDword || s->kind == StepKind::DeleteValue)
          registry->PutDword(s->root, key, s->name, static_cast<std::uint32_t>(s->dword) + 1);
        if (s->kind == StepKind::WriteString || s->kind == StepKind::WriteExpandString)
          registry->PutString(s->root, key, s->name, s->text + L"-planted");
      }
    }
  }
};

TEST(DesktopUserCatalogTest, CurrentUserRepairsLandInTheDesktopUsersHiveAndLeaveTheRestAsTheyWould) {
  int repairs = 0;
  for (const Repair& r : Repairs()) {
    for (WindowsVersion v : kSupportedVersions) {
      RepairArgs args;
      args.windows = v;
      args.ieVersionName = L"IE9";
      const Plan plan = r.plan(args);
      if (!TouchesCurrentUser(plan)) continue;
      SCOPED_TRACE("repair " + std::to_string(r.id) + " on Windows " + Narrow(VersionName(v)));
      Pair p;
      p.Plant(plan);

      const std::wstring preview = FormatPreview(PreviewRepair(p.mappedSystem, r.id, args));
      EXPECT_EQ(preview.find(L"HKEY_CURRENT_USER"), std::wstring::npos) << Narrow(preview);
      EXPECT_NE(preview.find(L"HKEY_USERS\\" + kSid), std::wstring::npos) << Narrow(preview);

      const bool checked = r.check && r.scanCheckedOn.Contains(v);
      if (checked) EXPECT_EQ(RunCheck(p.mappedSystem, r.id, args), RunCheck(p.plain.system, r.id, args)) << "before";
      EXPECT_EQ(RunRepair(p.mappedSystem, r.id, args), RunRepair(p.plain.system, r.id, args));
      if (checked) EXPECT_EQ(RunCheck(p.mappedSystem, r.id, args), RunCheck(p.plain.system, r.id, args)) << "after";

      EXPECT_EQ(Lines(p.mapped.registry.Dump(), false), Lines(p.plain.registry.Dump(), true));
      EXPECT_FALSE(p.mapped.registry.HasKey(RegRoot::CurrentUser, L"Software")) << "the administrator's own hive";
      EXPECT_EQ(p.mapped.runner.Commands(), p.plain.runner.Commands());
      ++repairs;
    }
  }
  EXPECT_GT(repairs, 30);
}

}  // namespace
}  // namespace corrivo::testing
