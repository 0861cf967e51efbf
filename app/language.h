// The language files: TLanguage finds the language files beside the program, loads the one the
// suite's setting names and applies it to a window; the message texts; the suite setting
// and the language record.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/component_tree.h"
#include "app/ext_ini_file.h"

#include "sysaccess/system.h"

namespace corrivo {

// Section of the program's message texts.
inline constexpr wchar_t kMessageSection[] = L"FixWindows_M";

// The program-wide message texts, read once at start; each holds its built-in English text until
// a language file replaces it.
struct MessageTexts {
  std::wstring noProblems = L"No problems";
  std::wstring allFixed = L"All problems fixed.";
  std::wstring confirmIERegistration = L"Are you sure of reregister all DLL and OCX files for IE?";
  std::wstring ieRegistered = L"Internet Explorer fixed.";
  std::wstring confirmMediaPlayerRegistration = L"Are you sure of reregister all DLL and OCX files for Media Player?";
  std::wstring mediaPlayerRegistered = L"Media Player fixed.";
  std::wstring needsFix = L"Need Fix";
  std::wstring total = L"Total";
  std::wstring unsupportedWindows = L"This tool only for xp, vista , win 7 and win8.";
  std::wstring fixed = L"Fixed!";
  std::wstring fixFailed = L"Fixed Failed!";
  std::wstring minimiseHint = L"Minimize";
  std::wstring maximiseHint = L"Maximize";
  std::wstring restoreHint = L"Restore";
  std::wstring closeHint = L"Close";
  std::wstring whatWillChange = L"What will this change?";  // a repair row's context menu
  std::wstring undoMenu = L"Undo\u2026";                     // the same menu: the journal's box
  std::wstring undoJournal = L"Undo journal";                // that box's title
  std::wstring undoButton = L"Undo";
  std::wstring undone = L"Undone. The undo has its own journal entry, so it can be undone too.";
  std::wstring undoFailed = L"Not undone:";
  std::wstring journalFailed = L"Nothing was changed: the undo journal could not be saved.";
};

// The key of each message text and where it goes, in the order above.
struct MessageTextKey {
  const wchar_t* key;
  std::wstring MessageTexts::*field;
};
const std::vector<MessageTextKey>& MessageTextKeys();

class TLanguage {
 public:
  // Sets Name and lists the "*.lng" files of `folder`; a missing folder lists none.
  TLanguage(FileService& files, std::wstring name, const std::wstring& folder);
  TLanguage(const TLanguage&) = delete;
  TLanguage& operator=(const TLanguage&) = delete;

  std::wstring Name;                    // prefix of a window's section
  std::wstring Folder;                  // without trailing path delimiter
  std::vector<std::wstring> Languages;  // file names less ".lng", in listing order
  TExtIniFile Strings;                  // the loaded language file

  // Loads the named language's file, or English's when that name has no file; with no English
  // file either nothing is loaded and the built-in texts stay.
  void SetLanguage(const std::wstring& languageName);
  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& defaultValue) const;
  // Replaces the texts of `root` and of the components it owns from section Name + "_" + root's
  // name. A component that fails stops the walk; those done keep their texts.
  void TranslateComponent(Component& root) const;

  // The language whose file was loaded; empty while the built-in texts apply.
  const std::wstring& LoadedLanguage() const { return loaded_; }

 private:
  // Index into Languages of a name (letter case ignored) whose file still exists, or -1.
  long FindLanguage(const std::wstring& languageName) const;
  void TranslateOwned(Component& owner, const std::wstring& section) const;

  FileService& files_;
  std::vector<std::wstring> fileNames_;  // the listed file name behind each entry of Languages
  std::wstring loaded_;
};

// Copies the message texts out of the loaded language, defaults where a key is missing.
MessageTexts ReadMessageTexts(const TLanguage& language);

// The suite settings file: the roaming application-data folder + "\Tarsio\Helmwise V8\Main.ini".
std::wstring SuiteSettingsPath(OperatingSystem& os);
// Key "Language" of section "Main" in the suite settings file, default "English"; empty when
// reading failed in an unexpected way (SetLanguage then picks English).
std::wstring GetSuiteLanguageName(System& system);

// The language record: key "MyLang" of section "Lang" in "Corrivo.Log" beside the program.
std::wstring LanguageRecordPath(OperatingSystem& os);  // empty when the program folder is unknown
// Sets the one key in `path`, keeping whatever else the file holds, and replaces the file whole
// or not at all. False when the file could not be written.
bool WriteLanguageRecord(FileService& files, const std::wstring& path, const std::wstring& suiteLanguage);

// Everything the window does with languages at creation, in order: the language object over
// "Toolbox_Language" beside the program, the language record, the suite's language, the message
// texts, and the window's own texts.
struct ProgramLanguage {
  std::unique_ptr<TLanguage> language;
  MessageTexts messages;
  std::wstring suiteLanguage;  // as read, before any fall-back
  bool recordWritten = false;  // the program goes on either way
};
ProgramLanguage LoadProgramLanguage(System& system, Component& window);

}  // namespace corrivo
