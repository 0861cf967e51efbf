// Text files as the language files use them: the byte-order mark picks the encoding, lines end
// at CR, LF or CR LF.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sysaccess/files.h"

namespace corrivo {

enum class TextEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

using AnsiDecoder = std::function<std::wstring(std::string_view)>;

// Decodes a file's bytes: a UTF-8 or UTF-16 (LE/BE) byte-order mark selects that encoding and is
// dropped; without one the bytes go through `ansi`. A trailing odd byte of UTF-16 is ignored.
std::wstring DecodeText(std::string_view bytes, const AnsiDecoder& ansi, TextEncoding* encoding = nullptr);

// Splits at CR LF, CR or LF; a final line break does not open another line.
std::vector<std::wstring> SplitLines(std::wstring_view text);

// Reads a text file into lines, decoding it with the platform's ANSI code page where it has no
// byte-order mark. False (and no lines) when the file cannot be read.
bool LoadTextFile(FileService& files, const std::wstring& path, std::vector<std::wstring>* lines,
                  TextEncoding* encoding = nullptr);

// Lines joined with CR LF after each one, in `encoding`: UTF-8 and UTF-16 get their byte-order
// mark; Ansi keeps only characters below 0x80 (callers pick Ansi only for such text).
std::string EncodeText(const std::vector<std::wstring>& lines, TextEncoding encoding);

bool IsAsciiText(std::wstring_view text);

}  // namespace corrivo
