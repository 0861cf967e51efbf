// Small text helpers shared by every layer. Texts are UTF-16 on Windows and UTF-32 on Linux
// (std::wstring either way); the program only handles the Basic Multilingual Plane with
// letter-case rules, like Windows' own case-insensitive comparisons.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corrivo {

wchar_t ToLowerChar(wchar_t c);
std::wstring ToLower(std::wstring_view s);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool ContainsNoCase(std::wstring_view haystack, std::wstring_view needle);
std::wstring Trim(std::wstring_view s);
std::vector<std::wstring> Split(std::wstring_view s, wchar_t separator);

std::string WideToUtf8(std::wstring_view s);
std::wstring Utf8ToWide(std::string_view s);
// Windows-1252, the code page BOM-less text is read in off Windows.
std::wstring Cp1252ToWide(std::string_view s);
// Characters Windows-1252 lacks become "?".
std::string WideToCp1252(std::wstring_view text);
// UTF-16 code units (little-endian bytes) to a wide string and back.
std::wstring Utf16LeToWide(const unsigned char* bytes, std::size_t count);
std::vector<unsigned char> WideToUtf16Le(std::wstring_view s, bool terminator);

}  // namespace corrivo
