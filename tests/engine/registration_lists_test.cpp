#include "engine/registration_lists.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

using corrivo::testing::Narrow;

void ExpectEntries(const std::vector<std::wstring>& list,
                   std::initializer_list<std::pair<int, const wchar_t*>> entries) {
  for (const auto& [number, text] : entries) {
    SCOPED_TRACE(number);
    ASSERT_LE(number, static_cast<int>(list.size()));
    EXPECT_EQ(Narrow(list[number - 1]), Narrow(text));
  }
}

TEST(RegistrationLists, SizesAndLeadingBlank) {
  const auto& ie = IeRegistrationCommands();
  const auto& wmp = WmpRegistrationCommands();
  EXPECT_EQ(ie.size(), 114u);
  EXPECT_EQ(wmp.size(), 44u);
  for (const auto* list : {&ie, &wmp}) {
    for (const std::wstring& entry : *list) {
      SCOPED_TRACE(Narrow(entry));
      // Exactly one blank in front, then the registration tool, silent.
      EXPECT_EQ(entry.rfind(L" regsvr32 ", 0), 0u);
      EXPECT_NE(entry[1], L' ');
      EXPECT_EQ(entry.substr(entry.size() - 3), L" /s");
    }
  }
}

TEST(RegistrationLists, InternetExplorerEntries) {
  ExpectEntries(IeRegistrationCommands(),
                {{1, L" regsvr32 comcat.dll /s"},
                 {4, L" regsvr32 shdoc401.dll /i /s"},
                 {7, L" regsvr32 shdocvw.dll /I /s"},
                 {29, L" regsvr32 iesetup.dll /i /s"},
                 {74, L" regsvr32 scrrun.dll mstinit.exe /setup /s"},
                 {75, L" regsvr32 msnsspc.dll /SspcCreateSspiReg /s"},
                 {88, L" regsvr32 Slbcsp.dll /s"},
                 {89, L" regsvr32 setupwbv.dll /u /s"},
                 {95, L" regsvr32 inetcpl.cpl  /u /i /s"},
                 {97, L" regsvr32 proctexe.ocx mshta.exe /u /s"},
                 {113, L" regsvr32 vgx.dll /u /s"},
                 {114, L" regsvr32 FLUPL.OCX /u /s"}});
}

TEST(RegistrationLists, MediaPlayerEntries) {
  ExpectEntries(WmpRegistrationCommands(),
                {{1, L" regsvr32 msdxm.ocx /s"},
                 {3, L" regsvr32 wmp.dll /s"},
                 {4, L" regsvr32 wmpcm.dll /s"},
                 {5, L" regsvr32 wmpcm.dll /s"},
                 {6, L" regsvr32 wmpdxm.dll /s"},
                 {7, L" regsvr32 wmpdxm.dll /s"},
                 {8, L" regsvr32 wmpeffects.dll /s"},
                 {39, L" regsvr32 mfps.p.dll /s"},
                 {40, L" regsvr32 MSdll /s"},
                 {41, L" regsvr32 mfvdsAC3ENC.dll /s"},
                 {44, L" regsvr32 msmpeg2vdec.dll /s"}});
}

TEST(RegistrationLists, OnlyTheKnownRepeats) {
  // The Media Player list repeats entries 4 and 6 right after themselves; nothing else repeats
  // in either list except the Internet Explorer registrations that reappear with other switches.
  const auto& wmp = WmpRegistrationCommands();
  for (std::size_t i = 0; i < wmp.size(); ++i) {
    for (std::size_t j = i + 1; j < wmp.size(); ++j) {
      if (wmp[i] == wmp[j]) {
        EXPECT_TRUE((i == 3 && j == 4) || (i == 5 && j == 6)) << i << " " << j;
      }
    }
  }
  const auto& ie = IeRegistrationCommands();
  for (std::size_t i = 0; i < ie.size(); ++i) {
    for (std::size_t j = i + 1; j < ie.size(); ++j) EXPECT_NE(ie[i], ie[j]) << i << " " << j;
  }
}

TEST(RegistrationLists, ParametersPutSlashCInFront) {
  EXPECT_EQ(RegistrationParameters(IeRegistrationCommands().front()), L"/c regsvr32 comcat.dll /s");
  EXPECT_EQ(RegistrationParameters(WmpRegistrationCommands().back()), L"/c regsvr32 msmpeg2vdec.dll /s");
  EXPECT_EQ(RegistrationParameters(IeRegistrationCommands()[94]), L"/c regsvr32 inetcpl.cpl  /u /i /s");
}

}  // namespace
}  // namespace corrivo
