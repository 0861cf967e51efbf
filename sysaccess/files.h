// Files as the program sees them: whole-file reads with a size cap, whole-or-nothing
// replacement, folder listings and the system's ANSI code page. One set of rules for every
// file the program touches (language files, the language record, the hosts file).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corrivo {

enum class FileRead {
  Ok,
  Missing,     // no such file
  Unreadable,  // there, but it could not be read whole (denied, a read failed, too large)
};

class FileService {
 public:
  // Files larger than this are refused as unreadable: a language or hosts file is a few
  // kilobytes, and a runaway file must not eat the memory of a sick machine.
  static constexpr std::size_t kMaxFileBytes = 16u * 1024u * 1024u;

  virtual ~FileService() = default;

  // True for an existing file (not a folder).
  virtual bool FileExists(const std::wstring& path) = 0;
  virtual bool FolderExists(const std::wstring& folder) = 0;
  // The whole content; `bytes` is empty unless the answer is Ok.
  virtual FileRead ReadWholeFile(const std::wstring& path, std::string* bytes) = 0;
  // Replaces the file's content whole or not at all: the bytes go to a new temporary file
  // beside it that cannot be a planted link, which is then renamed over the target. False when
  // any step failed; the old file then stands and no temporary file is left.
  virtual bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) = 0;
  // Every entry of the folder ("." and ".." included) in the order the system delivers them,
  // seen from the native side on 64-bit Windows. False when the folder cannot be listed.
  virtual bool ListFolder(const std::wstring& folder, std::vector<std::wstring>* names) = 0;
  // Creates one folder unless it is there. False when it cannot be made, or when what is there
  // is not a plain folder (a file, a link or junction planted in its place).
  virtual bool MakeFolder(const std::wstring& folder) = 0;
  // Removes one file; true when it is gone (also when it was never there).
  virtual bool RemoveFile(const std::wstring& path) = 0;
  // True when the file's owner is the one this process gives the files it makes. An elevated
  // program's files belong to the Administrators; one that a program without those rights
  // planted in the same folder belongs to the user, and must not be trusted as our own.
  // True where files have no owner to compare.
  virtual bool HasOurOwner(const std::wstring& path) {
    (void)path;
    return true;
  }
  // A drive or network path (a rooted path off Windows): never relative to the current folder.
  virtual bool IsFullPath(const std::wstring& path) = 0;

  // Text in the system's ANSI code page (Windows-1252 off Windows); characters it lacks
  // become "?".
  virtual std::wstring AnsiToWide(std::string_view bytes) = 0;
  virtual std::string WideToAnsi(std::wstring_view text) = 0;

  // One value of a plain INI file, read the way the platform's private-profile reader reads it
  // (surrounding quotes removed); `defaultValue` when the file, section or key is missing.
  virtual std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section,
                                         const std::wstring& key, const std::wstring& defaultValue) = 0;
};

// The filter rules of ListFolderFiles: "*." becomes ".", pieces split at ";" and trimmed.
std::vector<std::wstring> BuildExtensionFilter(const std::wstring& extensions);
bool ExtensionFilterAccepts(const std::vector<std::wstring>& filter, const std::wstring& entryName);

// Lists the folder's entries that pass the filter; `list` may be null. True when the folder
// exists and has at least one entry ("." and ".." count).
bool ListFolderFiles(FileService& files, const std::wstring& folder, std::vector<std::wstring>* list,
                     const std::wstring& extensions, bool fullPath);

}  // namespace corrivo
