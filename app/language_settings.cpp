// The suite's language setting, the language record and the start-up order that ties them to
// the language object.
#include "app/language.h"
#include "app/text_file.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

constexpr wchar_t kRecordSection[] = L"Lang";
constexpr wchar_t kRecordKey[] = L"MyLang";

bool IsHeaderOf(const std::wstring& rawLine, const wchar_t* section) {
  std::wstring line = Trim(rawLine);
  return line.size() >= 2 && line.front() == L'[' && line.back() == L']' &&
         FoldNameCase(Trim(std::wstring_view(line).substr(1, line.size() - 2))) == FoldNameCase(section);
}

bool IsHeader(const std::wstring& rawLine) {
  std::wstring line = Trim(rawLine);
  return line.size() >= 2 && line.front() == L'[' && line.back() == L']';
}

bool IsKeyLine(const std::wstring& rawLine, const wchar_t* key) {
  std::wstring name;
  return LineKey(rawLine, &name) && FoldNameCase(Trim(name)) == FoldNameCase(key);
}

// Sets one key the way the platform's INI writer does: the first such key of the first such
// section is replaced, a missing key goes after the section's last line, a missing section at
// the end of the file.
void SetRecordLine(std::vector<std::wstring>* lines, const std::wstring& line) {
  std::size_t i = 0;
  while (i < lines->size() && !IsHeaderOf((*lines)[i], kRecordSection)) ++i;
  if (i == lines->size()) {
    lines->push_back(std::wstring(L"[") + kRecordSection + L"]");
    lines->push_back(line);
    return;
  }
  std::size_t end = i + 1;
  while (end < lines->size() && !IsHeader((*lines)[end])) ++end;
  std::size_t lastContent = i;
  for (std::size_t k = i + 1; k < end; ++k) {
    if (IsKeyLine((*lines)[k], kRecordKey)) {
      (*lines)[k] = line;
      return;
    }
    if (!Trim((*lines)[k]).empty()) lastContent = k;
  }
  lines->insert(lines->begin() + static_cast<std::ptrdiff_t>(lastContent + 1), line);
}

}  // namespace

std::wstring SuiteSettingsPath(OperatingSystem& os) {
  return os.FolderPath(KnownFolder::AppData) + L"\\Tarsio\\Helmwise V8\\Main.ini";
}

std::wstring GetSuiteLanguageName(System& system) {
  try {
    return system.files.ReadProfileString(SuiteSettingsPath(system.os), L"Main", L"Language", L"English");
  } catch (...) {
    return std::wstring();
  }
}

std::wstring LanguageRecordPath(OperatingSystem& os) {
  const std::wstring dir = ProgramFolder(os);
  // Without a known program folder the record would land in the current folder; skip it.
  return dir.empty() ? std::wstring() : dir + L"Corrivo.Log";
}

bool WriteLanguageRecord(FileService& files, const std::wstring& path, const std::wstring& suiteLanguage) {
  if (path.empty()) return false;
  try {
    std::wstring value;
    for (wchar_t c : suiteLanguage) value += (c == L'\r' || c == L'\n') ? L' ' : c;
    std::string old;
    const FileRead read = files.ReadWholeFile(path, &old);
    // A record that is there but cannot be read is never rewritten from nothing.
    if (read == FileRead::Unreadable) return false;
    const bool existed = read == FileRead::Ok;
    TextEncoding encoding = TextEncoding::Ansi;
    std::vector<std::wstring> lines;
    if (existed) {
      lines = SplitLines(DecodeText(old, [&files](std::string_view b) { return files.AnsiToWide(b); }, &encoding));
    }
    SetRecordLine(&lines, std::wstring(kRecordKey) + L"=" + value);
    if (encoding == TextEncoding::Ansi) {
      // Plain ASCII stays plain; anything else goes to UTF-16 with its mark, which every
      // private-profile reader understands and which loses no character.
      for (const auto& line : lines)
        if (!IsAsciiText(line)) encoding = TextEncoding::Utf16Le;
    }
    const std::string bytes = EncodeText(lines, encoding);
    // Most starts find the record as they would write it: the disk is left alone then.
    if (existed && bytes == old) return true;
    return files.ReplaceWholeFile(path, bytes);
  } catch (...) {
    return false;
  }
}

ProgramLanguage LoadProgramLanguage(System& system, Component& window) {
  ProgramLanguage result;
  const std::wstring programFolder = ProgramFolder(system.os);
  const std::wstring folder = programFolder.empty() ? std::wstring() : programFolder + L"Toolbox_Language";
  result.language = std::make_unique<TLanguage>(system.files, L"Scanner", folder);
  result.suiteLanguage = GetSuiteLanguageName(system);
  result.recordWritten = WriteLanguageRecord(system.files, LanguageRecordPath(system.os), result.suiteLanguage);
  result.language->SetLanguage(result.suiteLanguage);
  result.messages = ReadMessageTexts(*result.language);
  result.language->TranslateComponent(window);
  return result;
}

}  // namespace corrivo
