// libFuzzer target: arbitrary bytes as a language file, through decoding, parsing and every
// store operation. Besides crashes it stops on a broken promise of the store.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/ext_ini_file.h"
#include "app/text_file.h"
#include "sysaccess/text.h"

namespace {

using corrivo::TExtIniFile;

void Require(bool condition) {
  if (!condition) std::abort();
}

// Lines never hold a line break, so no stored value can equal this.
const std::wstring kAbsent = L"\n<absent>\n";

void CheckLookups(const TExtIniFile& ini) {
  std::vector<std::wstring> sections;
  ini.ReadSections(&sections);
  Require(sections.size() == ini.SectionCount());
  // A bounded sample: ValueExists is linear, so checking every key of a big input would make
  // each run quadratic and starve the search.
  for (std::size_t s = 0; s < sections.size() && s < 32; ++s) {
    const std::wstring& section = sections[s];
    std::vector<std::wstring> keys, lines;
    ini.ReadSection(section, &keys);
    ini.ReadSectionValues(section, &lines);
    Require(keys.size() <= lines.size());
    for (std::size_t k = 0; k < keys.size() && k < 32; ++k) {
      const std::wstring& key = keys[k];
      Require(ini.ValueExists(section, key));
      Require(ini.ReadString(section, key, kAbsent) != kAbsent);
    }
    for (const auto& line : lines) Require(line.find(L'\n') == std::wstring::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  corrivo::TextEncoding encoding = corrivo::TextEncoding::Ansi;
  const std::wstring text = corrivo::DecodeText(bytes, &corrivo::Cp1252ToWide, &encoding);
  const std::vector<std::wstring> lines = corrivo::SplitLines(text);

  // UTF-16 carries every decoded line unchanged.
  const std::string encoded = corrivo::EncodeText(lines, corrivo::TextEncoding::Utf16Le);
  Require(corrivo::SplitLines(corrivo::DecodeText(encoded, &corrivo::Cp1252ToWide)) == lines);

  TExtIniFile ini;
  ini.SetStrings(lines);
  CheckLookups(ini);

  // The program's own lookups, then changes built from what the input holds.
  (void)ini.ReadString(L"FixWindows_M", L"D_FixFinish", L"Fixed!");
  (void)ini.ValueExists(L"Scanner_FixWindows_FormMain", L"FixWindows_FormMain.Caption");
  std::vector<std::wstring> sections;
  ini.ReadSections(&sections);
  for (std::size_t i = 0; i < sections.size() && i < 8; ++i) {
    std::vector<std::wstring> keys;
    ini.ReadSection(sections[i], &keys);
    if (!keys.empty()) {
      ini.WriteString(sections[i], keys.front(), L"written");
      Require(ini.ReadString(sections[i], keys.front(), kAbsent) == L"written");
      ini.DeleteKey(sections[i], keys.back());
    }
    ini.WriteString(sections[i], L"Fuzz.Caption", sections[i]);
    if (i % 2) ini.EraseSection(sections[i]);
  }
  CheckLookups(ini);
  ini.Clear();
  Require(ini.SectionCount() == 0);
  return 0;
}
