// The executor's rules, on the memory system.
#include <gtest/gtest.h>

#include <stdexcept>

#include "catalog/executor.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

constexpr RegRoot HKCU = RegRoot::CurrentUser;
constexpr RegRoot HKLM = RegRoot::LocalMachine;

using ExecutorTest = MemorySystemTest;

TEST_F(ExecutorTest, EveryKindOfStepReachesItsService) {
  registry.PutDword(HKCU, L"Doomed", L"Gone", 5);
  registry.PutDword(HKCU, L"Tree\\Leaf", L"x", 1);
  const Plan plan = {WriteDword(HKCU, L"\\A\\B", L"D", -1),         WriteString(HKCU, L"\\A\\B", L"S", L"text"),
                     WriteExpandString(HKCU, L"\\A\\B", L"", L"%x%"), DeleteValue(HKCU, L"\\Doomed", L"Gone"),
                     DeleteKey(HKCU, L"\\Tree"),                     CreateKey(HKLM, L"\\New\\Key\\"),
                     corrivo::Run(L"/c echo one"),                   Wait(250),
                     Succeed()};
  std::vector<StepTrace> trace;
  EXPECT_TRUE(ExecutePlan(system, plan, &trace));
  ASSERT_EQ(trace.size(), plan.size());
  for (const auto& t : trace) EXPECT_TRUE(t.ran && t.result);
  EXPECT_EQ(registry.GetDword(HKCU, L"A\\B", L"D"), 0xFFFFFFFFu);
  RegType type = RegType::None;
  EXPECT_EQ(registry.GetString(HKCU, L"A\\B", L"S", &type), L"text");
  EXPECT_EQ(type, RegType::Sz);
  EXPECT_EQ(registry.GetString(HKCU, L"A\\B", L"", &type), L"%x%");
  EXPECT_EQ(type, RegType::ExpandSz);
  EXPECT_FALSE(registry.Get(HKCU, L"Doomed", L"Gone").has_value());
  EXPECT_TRUE(registry.HasKey(HKCU, L"Doomed"));
  EXPECT_FALSE(registry.HasKey(HKCU, L"Tree"));
  EXPECT_TRUE(registry.HasKey(HKLM, L"New\\Key"));
  EXPECT_EQ(runner.Commands(), std::vector<std::wstring>{L"/c echo one"});
  EXPECT_EQ(clock.Sleeps(), std::vector<std::uint32_t>{250});
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

struct ResultCase {
  const char* name;
  Plan plan;
  bool result;
  std::vector<bool> ran;
};

// "/c bad" fails to start, everything else succeeds.
std::vector<ResultCase> ResultCases() {
  const Step bad = corrivo::Run(L"/c bad"), good = corrivo::Run(L"/c good");
  return {
      {"empty plan fails", {}, false, {}},
      {"last step decides", {bad, good}, true, {true, true}},
      {"a failed last step fails the plan", {good, bad}, false, {true, true}},
      {"a pause after a failure succeeds", {bad, Wait(5)}, true, {true, true}},
      {"conditional step skipped after success", {good, IfPreviousFailed(bad)}, true, {true, false}},
      {"conditional step runs after failure", {bad, IfPreviousFailed(good)}, true, {true, true}},
      {"conditional first step never runs", {IfPreviousFailed(good)}, false, {false}},
      {"always-succeeding step", {AlwaysSucceeding(bad)}, true, {true}},
      {"deciding failure wins over a later success", {Deciding(bad), good}, false, {true, true}},
      {"all deciding steps succeed", {Deciding(good), bad, Deciding(good), bad}, true, {true, true, true, true}},
  };
}

TEST_F(ExecutorTest, ResultRules) {
  runner.FailCommand(L"/c bad");
  for (const ResultCase& c : ResultCases()) {
    SCOPED_TRACE(c.name);
    std::vector<StepTrace> trace;
    EXPECT_EQ(ExecutePlan(system, c.plan, &trace), c.result);
    ASSERT_EQ(trace.size(), c.ran.size());
    for (std::size_t i = 0; i < trace.size(); ++i) EXPECT_EQ(trace[i].ran, c.ran[i]) << i;
  }
}

// A runner that throws stands for any service running out of memory mid-repair.
class ThrowingRunner : public CommandRunner {
 public:
  bool Run(const std::wstring&, CommandWorld) override { throw std::runtime_error("out of memory"); }
};

TEST_F(ExecutorTest, AFailedOrThrowingStepFailsAloneAndTheRestStillRun) {
  registry.DenyFullAccess(HKLM, L"");
  ThrowingRunner throwing;
  System broken{registry, throwing, machine.files, machine.os, machine.shell, clock};
  const Plan plan = {WriteDword(HKLM, L"\\Denied", L"v", 1), corrivo::Run(L"/c x"), WriteDword(HKCU, L"\\Fine", L"v", 2)};
  std::vector<StepTrace> trace;
  EXPECT_TRUE(ExecutePlan(broken, plan, &trace));
  EXPECT_FALSE(trace[0].result || trace[1].result);
  EXPECT_EQ(registry.GetDword(HKCU, L"Fine", L"v"), 2u);
  EXPECT_FALSE(registry.HasKey(HKLM, L"Denied"));
}

}  // namespace
}  // namespace corrivo::testing
