// The file and code-page services the hosts file needs from the platform.
#pragma once

#include <string>
#include <string_view>

namespace corrivo::hostsio {

// True for a full path (drive or network path on Windows, rooted path elsewhere): the hosts
// file is never looked for relative to the current folder.
bool IsFullPath(const std::wstring& path);
// Reads the whole file into `bytes`. False when it does not exist or a read fails; `bytes`
// then holds whatever was read before the failure.
bool ReadFileBytes(const std::wstring& path, std::string* bytes);
// Writes `bytes` to a new file beside `path` and moves it over `path` in one step, so that
// readers see either the old or the new content. False (and no temporary file left) on failure.
bool ReplaceFileBytes(const std::wstring& path, std::string_view bytes);

// The system's ANSI code page (Windows-1252 off Windows). Characters it lacks become "?".
std::wstring AnsiToWide(std::string_view bytes);
std::string WideToAnsi(std::wstring_view text);

}  // namespace corrivo::hostsio
