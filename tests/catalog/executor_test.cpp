// The executor's rules: every step runs, the last one decides, pauses go through the clock,
// and the few marked steps (conditional, always-succeeding, deciding) behave as marked.
#include <gtest/gtest.h>

#include "catalog/executor.h"
#include "catalog/step_backend.h"
#include "sysaccess/platform.h"
#include "sysaccess/registry.h"
#include "tests/catalog/fake_step_backend.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

const std::wstring HKCU = L"HKEY_CURRENT_USER";
const std::wstring HKLM = L"HKEY_LOCAL_MACHINE";

class ExecutorTest : public MemorySystemTest {
 protected:
  FakeSpecialBackend specials;
  ScopedSpecialStepBackend scopedSpecials{specials};
};

TEST_F(ExecutorTest, EveryKindOfStepReachesTheRegistryAndRunner) {
  registry.PutDword(RegRoot::CurrentUser, L"Doomed", L"Gone", 5);
  registry.PutDword(RegRoot::CurrentUser, L"Tree\\Leaf", L"x", 1);
  Plan plan = {WriteDword(HKCU, L"\\A\\B", L"D", -1),
               WriteString(HKCU, L"\\A\\B", L"S", L"text"),
               WriteExpandString(HKCU, L"\\A\\B", L"", L"%SystemRoot%\\x"),
               DeleteValue(HKCU, L"\\Doomed", L"Gone"),
               DeleteKey(HKCU, L"\\Tree"),
               CreateKey(HKLM, L"\\New\\Key\\"),
               corrivo::Run(L"/c echo one"),
               Wait(250),
               Succeed()};
  std::vector<StepTrace> trace;
  EXPECT_TRUE(ExecutePlan(plan, &trace));
  ASSERT_EQ(trace.size(), plan.size());
  for (const auto& t : trace) EXPECT_TRUE(t.ran && t.result);

  EXPECT_EQ(registry.GetDword(RegRoot::CurrentUser, L"A\\B", L"D"), 0xFFFFFFFFu);
  RegType type = RegType::None;
  EXPECT_EQ(registry.GetString(RegRoot::CurrentUser, L"A\\B", L"S", &type), L"text");
  EXPECT_EQ(type, RegType::Sz);
  EXPECT_EQ(registry.GetString(RegRoot::CurrentUser, L"A\\B", L"", &type), L"%SystemRoot%\\x");
  EXPECT_EQ(type, RegType::ExpandSz);
  EXPECT_FALSE(registry.Get(RegRoot::CurrentUser, L"Doomed", L"Gone").has_value());
  EXPECT_TRUE(registry.HasKey(RegRoot::CurrentUser, L"Doomed"));
  EXPECT_FALSE(registry.HasKey(RegRoot::CurrentUser, L"Tree"));
  EXPECT_TRUE(registry.HasKey(RegRoot::LocalMachine, L"New\\Key"));
  EXPECT_EQ(runner.Commands(), std::vector<std::wstring>{L"/c echo one"});
  EXPECT_EQ(clock.Sleeps(), std::vector<std::uint32_t>{250});
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(ExecutorTest, FailedEarlierStepsDoNotStopLaterOnes) {
  runner.FailCommand(L"/c first");
  registry.DenyFullAccess(RegRoot::LocalMachine, L"");
  Plan plan = {corrivo::Run(L"/c first"), WriteDword(HKLM, L"\\Denied", L"v", 1), corrivo::Run(L"/c second"),
               WriteDword(HKCU, L"\\Fine", L"v", 2)};
  std::vector<StepTrace> trace;
  EXPECT_TRUE(ExecutePlan(plan, &trace));
  EXPECT_FALSE(trace[0].result);
  EXPECT_FALSE(trace[1].result);
  EXPECT_TRUE(trace[2].result);
  EXPECT_EQ(runner.Commands(), (std::vector<std::wstring>{L"/c first", L"/c second"}));
  EXPECT_EQ(registry.GetDword(RegRoot::CurrentUser, L"Fine", L"v"), 2u);
}

TEST_F(ExecutorTest, FailingLastStepFailsThePlanAfterEverythingRan) {
  registry.DenyFullAccess(RegRoot::LocalMachine, L"");
  Plan plan = {WriteDword(HKCU, L"\\Ok", L"v", 1), WriteDword(HKLM, L"\\Denied", L"v", 1)};
  EXPECT_FALSE(ExecutePlan(plan));
  EXPECT_EQ(registry.GetDword(RegRoot::CurrentUser, L"Ok", L"v"), 1u);

  runner.FailCommand(L"/c last");
  EXPECT_FALSE(ExecutePlan({corrivo::Run(L"/c earlier"), corrivo::Run(L"/c last")}));
  EXPECT_EQ(runner.Commands(), (std::vector<std::wstring>{L"/c earlier", L"/c last"}));
}

TEST_F(ExecutorTest, WaitSleepsOnTheCurrentClockAndSucceeds) {
  EXPECT_TRUE(ExecutePlan({Wait(3000)}));
  EXPECT_TRUE(ExecutePlan({Wait(500), Wait(0)}));
  EXPECT_EQ(clock.Sleeps(), (std::vector<std::uint32_t>{3000, 500, 0}));
  EXPECT_EQ(clock.NowMs(), 3500u);
}

TEST_F(ExecutorTest, EmptyPlanFails) { EXPECT_FALSE(ExecutePlan({})); }

TEST_F(ExecutorTest, ConditionalStepRunsOnlyAfterAFailure) {
  runner.FailCommand(L"/c refused");
  std::vector<StepTrace> trace;
  EXPECT_TRUE(ExecutePlan({corrivo::Run(L"/c refused"), IfPreviousFailed(corrivo::Run(L"/c fallback"))}, &trace));
  EXPECT_TRUE(trace[1].ran);
  EXPECT_TRUE(ExecutePlan({corrivo::Run(L"/c accepted"), IfPreviousFailed(corrivo::Run(L"/c skipped"))}, &trace));
  EXPECT_FALSE(trace[1].ran);
  // No step before it: nothing failed, so it does not run.
  EXPECT_FALSE(ExecutePlan({IfPreviousFailed(corrivo::Run(L"/c alone"))}, &trace));
  EXPECT_FALSE(trace[0].ran);
  EXPECT_EQ(runner.Commands(), (std::vector<std::wstring>{L"/c refused", L"/c fallback", L"/c accepted"}));
}

TEST_F(ExecutorTest, AlwaysSucceedingStepCountsAsSuccess) {
  runner.SetResult(false);
  EXPECT_FALSE(ExecutePlan({corrivo::Run(L"/c x")}));
  EXPECT_TRUE(ExecutePlan({AlwaysSucceeding(corrivo::Run(L"/c x"))}));
  EXPECT_TRUE(ExecuteStep(AlwaysSucceeding(Special(SpecialStep::None))));
  EXPECT_FALSE(ExecuteStep(Special(SpecialStep::None)));
}

TEST_F(ExecutorTest, DecidingStepsDecideAndLaterStepsStillRun) {
  runner.FailCommand(L"/c bad");
  // Both marked steps must succeed; the trailing pause and command do not decide.
  EXPECT_TRUE(ExecutePlan({Deciding(corrivo::Run(L"/c good")), Deciding(corrivo::Run(L"/c good2")), Wait(10), corrivo::Run(L"/c bad")}));
  EXPECT_FALSE(ExecutePlan({Deciding(corrivo::Run(L"/c bad")), Deciding(corrivo::Run(L"/c good")), Wait(10), corrivo::Run(L"/c after")}));
  EXPECT_FALSE(ExecutePlan({Deciding(corrivo::Run(L"/c good")), Deciding(corrivo::Run(L"/c bad")), Wait(10)}));
  EXPECT_EQ(runner.Commands(), (std::vector<std::wstring>{L"/c good", L"/c good2", L"/c bad", L"/c bad", L"/c good",
                                                         L"/c after", L"/c good", L"/c bad"}));
  EXPECT_EQ(clock.Sleeps(), (std::vector<std::uint32_t>{10, 10, 10}));
}

TEST_F(ExecutorTest, SpecialStepsGoThroughTheBackendAndTheSystemOperations) {
  // 503's patch: byte 4 becomes its upper bits followed by 0011.
  registry.Put(RegRoot::CurrentUser, L"S", L"ShellState", RegType::Binary, {1, 2, 3, 4, 0x2C, 6});
  EXPECT_TRUE(ExecuteStep(Special(SpecialStep::PatchStickyNotesFlags, HKCU, L"\\S", L"ShellState")));
  EXPECT_EQ(registry.Get(RegRoot::CurrentUser, L"S", L"ShellState")->data,
            (std::vector<std::uint8_t>{1, 2, 3, 4, 0x23, 6}));
  EXPECT_FALSE(ExecuteStep(Special(SpecialStep::PatchStickyNotesFlags, HKCU, L"\\S", L"Missing")));

  struct Killer : ProcessControl {
    std::vector<std::wstring> names;
    bool KillByName(const std::wstring& name) override {
      names.push_back(name);
      return true;
    }
  } killer;
  ScopedProcessControl scopedKiller(killer);
  EXPECT_TRUE(ExecuteStep(Special(SpecialStep::KillExplorer)));
  EXPECT_EQ(killer.names, std::vector<std::wstring>{L"explorer.exe"});

  // 209's reset reports success whatever the module did.
  specials.inetcplOutcome = InetcplOutcome::NotLoaded;
  EXPECT_TRUE(ExecuteStep(Special(SpecialStep::ResetIEToDefaults)));
}

TEST(PlanDescription, OneReadableLinePerStep) {
  EXPECT_EQ(DescribeStep(WriteDword(L"HKEY_CURRENT_USER", L"\\K", L"", 0)), L"write dword HKEY_CURRENT_USER\\K [(default)] = 0");
  EXPECT_EQ(DescribeStep(WriteString(L"HKEY_CLASSES_ROOT", L"\\K\\", L"N", L"a \"b\"")),
            L"write string HKEY_CLASSES_ROOT\\K\\ [N] = \"a \"b\"\"");
  EXPECT_EQ(DescribeStep(WriteExpandString(L"R", L"\\K", L"N", L"%x%")), L"write expand string R\\K [N] = \"%x%\"");
  EXPECT_EQ(DescribeStep(DeleteValue(L"R", L"\\K", L"N")), L"delete value R\\K [N]");
  EXPECT_EQ(DescribeStep(DeleteKey(L"R", L"\\K")), L"delete key R\\K");
  EXPECT_EQ(DescribeStep(CreateKey(L"R", L"\\K")), L"create key R\\K");
  EXPECT_EQ(DescribeStep(corrivo::Run(L"/c x  y")), L"run cmd.exe /c x  y");
  EXPECT_EQ(DescribeStep(Wait(3000)), L"wait 3000 ms");
  EXPECT_EQ(DescribeStep(Succeed()), L"succeed");
  EXPECT_EQ(DescribeStep(Special(SpecialStep::RewriteHostsFile, L"", L"", L"", 6)), L"special RewriteHostsFile code 6");
  EXPECT_EQ(DescribeStep(IfPreviousFailed(corrivo::Run(L"/c a"))), L"run cmd.exe /c a  (only if the previous step failed)");
  EXPECT_EQ(DescribeStep(Deciding(AlwaysSucceeding(Special(SpecialStep::KillExplorer)))),
            L"special KillExplorer  (always succeeds)  (decides the result)");
  EXPECT_EQ(DescribePlan({corrivo::Run(L"/c a"), Wait(1)}), L"  1. run cmd.exe /c a\n  2. wait 1 ms\n");
}

TEST(PlanBuilders, FillOnlyTheirOwnFields) {
  Step s = WriteDword(L"R", L"\\K", L"N", 7);
  EXPECT_EQ(s.kind, StepKind::WriteDword);
  EXPECT_EQ(s.dword, 7);
  EXPECT_TRUE(s.text.empty());
  EXPECT_EQ(s.condition, StepCondition::Always);
  EXPECT_FALSE(s.decides || s.alwaysSucceeds);
  EXPECT_EQ(Wait(9).ms, 9u);
  EXPECT_EQ(Special(SpecialStep::CreateIEShortcuts).special, SpecialStep::CreateIEShortcuts);
  EXPECT_EQ(Succeed().kind, StepKind::Succeed);
  EXPECT_EQ(WriteExpandString(L"R", L"\\K", L"N", L"t").kind, StepKind::WriteExpandString);
  EXPECT_EQ(CreateKey(L"R", L"\\K").kind, StepKind::CreateKey);
}

}  // namespace
}  // namespace corrivo::testing
