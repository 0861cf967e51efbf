// Stand-ins for the machine on Linux builds and in tests: the real file system under Unix
// paths, an operating system whose answers are set by the caller, shell services that record
// what they were asked, and an in-memory file service whose calls can be made to fail.
#pragma once

#include <map>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "sysaccess/desktop_user.h"
#include "sysaccess/files.h"
#include "sysaccess/operating_system.h"
#include "sysaccess/shell_services.h"

namespace corrivo {

// One value of INI text the way GetPrivateProfileString answers it.
std::wstring ProfileValue(const std::wstring& text, const std::wstring& section, const std::wstring& key,
                          const std::wstring& defaultValue);

// The real file system (Linux builds only); Windows spellings ("/tmp/x\\sub") become Unix paths.
class HostFileService : public FileService {
 public:
  bool FileExists(const std::wstring& path) override;
  bool FolderExists(const std::wstring& folder) override;
  FileRead ReadWholeFile(const std::wstring& path, std::string* bytes) override;
  bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override;
  bool ListFolder(const std::wstring& folder, std::vector<std::wstring>* names) override;
  bool MakeFolder(const std::wstring& folder) override;
  bool RemoveFile(const std::wstring& path) override;
  bool IsFullPath(const std::wstring& path) override;
  std::wstring AnsiToWide(std::string_view bytes) override;  // Windows-1252
  std::string WideToAnsi(std::wstring_view text) override;
  std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                                 const std::wstring& defaultValue) override;
};

// Files kept in memory by exact path; Windows-1252 as the ANSI code page.
class MemoryFileService : public FileService {
 public:
  void Put(const std::wstring& path, std::string bytes);
  void Remove(const std::wstring& path);
  // The bytes of a file; empty when absent.
  std::string Get(const std::wstring& path) const;
  bool Has(const std::wstring& path) const;
  void AddFolder(const std::wstring& folder, std::vector<std::wstring> names);
  // Later reads of `path` answer Unreadable; later replacements fail and change nothing.
  void FailReads(const std::wstring& path);
  void FailWrites(const std::wstring& path);
  // The file belongs to another owner than the files this process makes.
  void GiveOtherOwner(const std::wstring& path);
  int WriteCount() const;

  bool FileExists(const std::wstring& path) override;
  bool FolderExists(const std::wstring& folder) override;
  FileRead ReadWholeFile(const std::wstring& path, std::string* bytes) override;
  bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override;
  bool ListFolder(const std::wstring& folder, std::vector<std::wstring>* names) override;
  // Folders that FailWrites names cannot be made; files directly in a folder are listed.
  bool MakeFolder(const std::wstring& folder) override;
  bool RemoveFile(const std::wstring& path) override;
  bool HasOurOwner(const std::wstring& path) override;
  bool IsFullPath(const std::wstring& path) override;
  std::wstring AnsiToWide(std::string_view bytes) override;
  std::string WideToAnsi(std::wstring_view text) override;
  std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                                 const std::wstring& defaultValue) override;

 private:
  mutable std::mutex mutex_;
  std::map<std::wstring, std::string> files_;
  std::map<std::wstring, std::vector<std::wstring>> folders_;
  std::set<std::wstring> failReads_, failWrites_, otherOwner_;
  int writes_ = 0;
};

class StandInOperatingSystem : public OperatingSystem {
 public:
  void SetVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t productType);
  void SetFolder(KnownFolder folder, const std::wstring& path);
  void SetWindowsFolder(const std::wstring& path);
  void SetSystemFolder(const std::wstring& path);
  void SetTempFolder(const std::wstring& path);
  void SetProgramFile(const std::wstring& path);
  // What %name% expands to (letter case of the name ignored); unset names stay as written.
  void SetEnvironment(const std::wstring& name, const std::wstring& value);

  bool QueryVersion(std::uint32_t* major, std::uint32_t* minor, std::uint32_t* productType) override;
  std::wstring FolderPath(KnownFolder folder) override;
  std::wstring WindowsFolder() override;
  std::wstring SystemFolder() override;
  std::wstring TempFolder() override;
  std::wstring ProgramFile() override;
  std::wstring ExpandEnvironment(const std::wstring& text, std::size_t capacity) override;

 private:
  mutable std::mutex mutex_;
  std::uint32_t major_ = 6, minor_ = 1, productType_ = 1;
  std::map<KnownFolder, std::wstring> folders_;
  std::wstring windows_, system_, temp_, program_;
  std::map<std::wstring, std::wstring> environment_;  // by lower-case name
};

// Records every request; creates nothing unless told to. `SetResult(false)` makes every call
// that can fail fail.
class RecordingShellServices : public ShellServices {
 public:
  std::unique_ptr<ShellLinkObject> CreateShellLink(const ShellLinkFields& fields) override;
  std::unique_ptr<HomePageLibrary> LoadHomePageLibrary(const std::wstring& fullPath) override;
  bool CurrentSessionId(std::uint32_t* sessionId) override;
  InetcplOutcome ResetIEToDefaults(const std::wstring& inetcplPath) override;
  bool KillProcessesByName(const std::wstring& exeName) override;
  void RefreshDesktop() override;
  void NotifyAssociationsChanged() override;

  void SetResult(bool result);
  // One line per request ("kill explorer.exe", "shortcut C:\\...\\Internet Explore.lnk", ...).
  std::vector<std::wstring> Requests() const;

 private:
  void Record(std::wstring line);
  mutable std::mutex mutex_;
  std::vector<std::wstring> requests_;
  bool result_ = true;
};

// The session's owners as the caller sets them; nullopt answers "cannot be read".
class MemorySessionAccounts : public SessionAccounts {
 public:
  std::optional<Account> shellOwner, processOwner;
  std::optional<Account> ShellOwner() override { return shellOwner; }
  std::optional<Account> ProcessOwner() override { return processOwner; }
};

}  // namespace corrivo
