// The portable answers about the system (the Windows version) and what only the Linux file
// service needs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <filesystem>
#include <fstream>

#include "sysaccess/windows_version.h"
#include "sysaccess/memory/stand_ins.h"
#include "sysaccess/text.h"
#include "sysaccess/thread.h"
#include "tests/fakes/test_support.h"
#include "tests/sysaccess/platform_probe.h"

namespace corrivo::testing {

OperatingSystem& OperatingSystemWithProbe() {
  static StandInOperatingSystem os;
  os.SetEnvironment(L"CorrivoProbe", L"C:\\Probe");
  return os;
}

std::shared_ptr<void> BlockReplacement(const std::wstring& path) {
  std::string folder = WideToUtf8(path);
  std::replace(folder.begin(), folder.end(), '\\', '/');
  std::filesystem::create_directory(folder);
  return nullptr;
}

namespace {

TEST(WindowsVersionTest, MapsTheVersionRecordAndRefusesServersAndTheRest) {
  constexpr std::uint32_t kWorkstation = 1, kDomainController = 2, kServer = 3;
  using V = WindowsVersion;
  const struct { std::uint32_t major, minor, product; V version; bool supported; } rows[] = {
      {5, 0, kWorkstation, V::Windows2000, false}, {5, 1, kServer, V::XP, true},
      {5, 2, kWorkstation, V::XP, true},  // XP x64
      {5, 2, kDomainController, V::XP, true}, {5, 2, kServer, V::Server2003, false},
      {6, 0, kDomainController, V::Vista, true}, {6, 0, kServer, V::Server2008, false},
      {6, 1, kWorkstation, V::Seven, true}, {6, 1, kServer, V::Server2008, false},
      {6, 2, kServer, V::Eight, true}, {6, 3, kWorkstation, V::Unknown, false},
      {5, 3, kWorkstation, V::Unknown, false}, {10, 0, kWorkstation, V::Unknown, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.major << "." << r.minor << " type " << r.product);
    StandInOperatingSystem os;
    os.SetVersion(r.major, r.minor, r.product);
    EXPECT_EQ(DetectWindowsVersion(os), r.version);
    EXPECT_EQ(IsSupported(r.version), r.supported);
  }
}

// The temporary name beside the target is predictable here (process ID and attempt): links
// planted there must be neither followed nor reused.
TEST(HostFileServiceTest, LinksPlantedAtTheTemporaryNamesAreNeverWrittenThrough) {
  TempDir dir;
  const std::filesystem::path folder(dir.path()), victim = folder / "victim";
  std::ofstream(victim) << "precious";
  for (const char* attempt : {"-0.tmp", "-1.tmp"})
    std::filesystem::create_symlink(victim, folder / ("hosts." + std::to_string(getpid()) + attempt));
  ASSERT_TRUE(HostFileService().ReplaceWholeFile(dir.path() + L"\\hosts", "new"));
  std::string hosts, kept;
  std::ifstream(folder / "hosts") >> hosts;
  std::ifstream(victim) >> kept;
  EXPECT_EQ(hosts + " " + kept, "new precious");
}

}  // namespace
}  // namespace corrivo::testing

namespace corrivo {
namespace {

// Unwinding must never leave a thread procedure; closing waits for the worker only so long.
TEST(WorkerThreadTest, ABodyThatThrowsEndsQuietlyAndJoiningIsBounded) {
  auto thrower = WorkerThread::CreateSuspended([] { throw std::runtime_error("out of memory"); });
  thrower->Resume();
  EXPECT_TRUE(thrower->JoinFor(10000));

  std::atomic<bool> release{false};
  auto busy = WorkerThread::CreateSuspended([&release] {
    while (!release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  EXPECT_TRUE(busy->JoinFor(0)) << "a thread never resumed has nothing to wait for";
  busy->Resume();
  EXPECT_FALSE(busy->JoinFor(50));
  release = true;
  EXPECT_TRUE(busy->JoinFor(10000));
  busy->Join();
}

}  // namespace
}  // namespace corrivo
