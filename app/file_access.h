// The few file services the language files need, supplied by each platform. Paths are
// written the Windows way (backslash-separated); none of these throws.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corrivo::files {

// Text files larger than this are treated as unreadable: a language file is a few kilobytes,
// and refusing a runaway file keeps a bad install from eating the memory.
constexpr std::size_t kMaxTextFileBytes = 16u * 1024u * 1024u;

// True for an existing file (not a folder).
bool FileExists(const std::wstring& path);

// The whole content of a file; false when it is missing, a folder, unreadable or larger than
// kMaxTextFileBytes (`bytes` is then empty).
bool ReadWholeFile(const std::wstring& path, std::string* bytes);

// Replaces the file's content whole or not at all: the bytes go to a temporary file beside it,
// which is then renamed over the target. False when any step failed; the old file then stands.
bool ReplaceFileContent(const std::wstring& path, std::string_view bytes);

// Text without a byte-order mark: the system's ANSI code page on Windows, Windows-1252 elsewhere.
std::wstring AnsiToWide(std::string_view bytes);

// One value of a plain INI file, read the way the platform's private-profile reader reads it
// (surrounding quotes removed); `defaultValue` when the file, section or key is missing.
std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section,
                               const std::wstring& key, const std::wstring& defaultValue);

}  // namespace corrivo::files
