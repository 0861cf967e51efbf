// Repair 701's hosts file: keep its comments and blank lines, drop every mapping and append
// the default entries for the Windows version. The text rules are pure functions so that they
// can be checked without a file; RewriteHostsFile puts them to work on the real file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sysaccess/files.h"
#include "sysaccess/system.h"

namespace corrivo {

// Where the hosts file lives under the system's Windows folder. The folder comes from the
// system itself, never from %SystemRoot% in the environment, which a standard user can set.
constexpr const wchar_t* kHostsFileUnderWindows = L"\\system32\\drivers\\etc\\hosts";
// Nine characters of address, seven blanks, the name; the IPv6 entry keeps the seven blanks.
constexpr const wchar_t* kHostsIPv4Entry = L"127.0.0.1       localhost";
constexpr const wchar_t* kHostsIPv6Entry = L"::1       localhost";

// The file's bytes as text: a UTF-8 or UTF-16 byte-order mark selects that encoding (the mark
// itself is dropped); without one the bytes are in the system's ANSI code page.
std::wstring DecodeHostsBytes(FileService& files, std::string_view bytes);
// Splits at CR LF, CR or LF. A break at the very end does not start another line, so text
// written by EncodeHostsLines reads back as the same lines.
std::vector<std::wstring> SplitHostsLines(std::wstring_view text);
// Keeps the empty lines and those whose first character is "#", in their order, then appends
// the default entries: IPv4 on XP, Vista, 7 and 8, then IPv6 after XP.
std::vector<std::wstring> TransformHostsLines(const std::vector<std::wstring>& lines,
                                              WindowsVersion windows);
// Every line followed by CR LF, in the system's ANSI code page, without byte-order mark.
std::string EncodeHostsLines(FileService& files, const std::vector<std::wstring>& lines);

// Reads the hosts file (a missing or unreadable file counts as empty), transforms it and
// replaces it. True only when the new content is in place; a failure never leaves a partly
// written file behind.
// The hosts file's full path; empty when the system does not say where Windows is.
std::wstring HostsFilePath(System& system);
// False, with the file untouched, when it cannot be read (a file that is not there counts as
// empty) or cannot be replaced.
bool RewriteHostsFile(System& system, WindowsVersion windows);

}  // namespace corrivo
