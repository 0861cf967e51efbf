#include "app/creation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corrivo {
namespace {

class RecordingSteps : public CreationSteps {
 public:
  std::int32_t code = 3;
  std::vector<std::string> calls;

  void ApplyWindowStyle() override { calls.push_back("style"); }
  void ResetHeaderTiles() override { calls.push_back("tiles"); }
  void ClearStopRequests() override { calls.push_back("stops"); }
  void CreateThreadSuspended() override { calls.push_back("thread"); }
  void DetectIEVersion() override { calls.push_back("ie"); }
  std::int32_t DetectOsVersionCode() override {
    calls.push_back("os");
    return code;
  }
  void LoadLanguage() override { calls.push_back("language"); }
  void SaveColumnTitle() override { calls.push_back("column"); }
  void RefuseVersion() override { calls.push_back("refuse"); }
  void StartThread(std::int32_t c) override { calls.push_back("start" + std::to_string(c)); }
  void ShowPage(int page) override { calls.push_back("page" + std::to_string(page)); }
  void AnchorControls() override { calls.push_back("anchors"); }
  void FillPages() override { calls.push_back("fill"); }
  void SelectCategory(int n) override { calls.push_back("category" + std::to_string(n)); }
  void PlaceStopFixOverFix() override { calls.push_back("stopfix"); }
};

using Calls = std::vector<std::string>;

TEST(CreationTest, SupportedVersionRunsEveryStepInOrder) {
  for (std::int32_t code : {0, 1, 3, 6}) {
    SCOPED_TRACE(code);
    RecordingSteps s;
    s.code = code;
    EXPECT_TRUE(RunCreationSequence(s));
    EXPECT_EQ(s.calls, (Calls{"style", "tiles", "stops", "thread", "ie", "os", "language", "column",
                              "start" + std::to_string(code), "page0", "anchors", "fill", "category1",
                              "stopfix"}));
  }
}

TEST(CreationTest, RefusedVersionShowsTheMessageAndNeverStartsTheThread) {
  for (std::int32_t code : {-1, 2, 4, 5}) {
    SCOPED_TRACE(code);
    RecordingSteps s;
    s.code = code;
    EXPECT_FALSE(RunCreationSequence(s));
    EXPECT_EQ(s.calls, (Calls{"style", "tiles", "stops", "thread", "ie", "os", "language", "column",
                              "refuse"}));
  }
}

TEST(CreationTest, RefusedCodes) {
  for (int code = -3; code <= 8; ++code) {
    SCOPED_TRACE(code);
    const bool refused = code == -1 || code == 2 || code == 4 || code == 5;
    EXPECT_EQ(IsRefusedVersionCode(code), refused);
  }
}

}  // namespace
}  // namespace corrivo
