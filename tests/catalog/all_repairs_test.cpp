// Every repair of the catalogue on every Windows version: what reaches the runner and the clock
// is exactly what its plan lists, and the registry ends as its registry steps say.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/step_backend.h"
#include "sysaccess/text.h"
#include "tests/catalog/fake_step_backend.h"
#include "tests/catalog/repairs_effects.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

bool HasSpecialStep(const Plan& plan) {
  for (const Step& s : plan)
    if (s.kind == StepKind::Special) return true;
  return false;
}

// The registry a plan without special steps leaves behind when it starts from nothing: deletes
// find nothing, writes and creations make their keys.
void ApplyToEmpty(MemoryRegistry& expected, const Plan& plan) {
  for (const Step& s : plan) {
    RegRoot root = RootOf(s.root);
    switch (s.kind) {
      case StepKind::WriteDword: expected.PutDword(root, s.key, s.name, static_cast<std::uint32_t>(s.dword)); break;
      case StepKind::WriteString: expected.PutString(root, s.key, s.name, s.text, RegType::Sz); break;
      case StepKind::WriteExpandString: expected.PutString(root, s.key, s.name, s.text, RegType::ExpandSz); break;
      case StepKind::CreateKey: expected.PutKey(root, s.key); break;
      default: break;
    }
  }
}

class AllRepairsTest : public MemorySystemTest {
 protected:
  FakeSpecialBackend specials;
  ScopedSpecialStepBackend scopedSpecials{specials};
};

TEST_F(AllRepairsTest, RunnerClockAndRegistryFollowThePlan) {
  for (const CatalogEntry& entry : Catalog()) {
    // The hosts file is a real file even here; its own tests keep it in a scratch folder.
    if (entry.id == 701) continue;
    for (std::int32_t os : kVersionCodes) {
      for (const wchar_t* ie : {L"IE8", L"IE10"}) {
        SCOPED_TRACE("Fix" + std::to_string(entry.id) + " os " + std::to_string(os) + " " + Narrow(ie));
        FixArgs args{os, ie};
        Plan plan = PlanFor(entry.id, args);
        ASSERT_FALSE(plan.empty());
        MemoryRegistry fresh;
        ScopedRegistryBackend scoped(fresh);
        RecordingRunner commands;
        ScopedCommandRunner scopedRunner(commands);
        VirtualClock time;
        ScopedClock scopedClock(time);
        bool result = RunFix(entry.id, args);

        std::vector<std::wstring> expectedCommands;
        std::vector<std::uint32_t> expectedSleeps;
        for (const Step& s : plan) {
          if (s.kind == StepKind::Run) expectedCommands.push_back(s.text);
          if (s.kind == StepKind::Wait) expectedSleeps.push_back(s.ms);
        }
        EXPECT_EQ(commands.Commands(), expectedCommands);
        EXPECT_EQ(time.Sleeps(), expectedSleeps);
        EXPECT_EQ(fresh.OpenHandleCount(), 0u);
        if (!HasSpecialStep(plan)) {
          EXPECT_TRUE(result) << Narrow(DescribePlan(plan));
          MemoryRegistry expected;
          ApplyToEmpty(expected, plan);
          EXPECT_EQ(Narrow(ToLower(fresh.Dump())), Narrow(ToLower(expected.Dump())));
        }
      }
    }
  }
}

TEST_F(AllRepairsTest, EveryPlanIsDescribed) {
  for (const CatalogEntry& entry : Catalog()) {
    std::wstring text = DescribeFix(entry.id, FixArgs{3, L"IE9"});
    EXPECT_EQ(text.rfind(L"Fix" + std::to_wstring(entry.id) + L" (", 0), 0u) << entry.id;
    EXPECT_NE(text.find(L"  1. "), std::wstring::npos) << entry.id;
  }
}

}  // namespace
}  // namespace corrivo::testing
