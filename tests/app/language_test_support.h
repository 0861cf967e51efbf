// Helpers of the language tests: the shipped language files of the source tree, and the bytes
// of UTF-16 text.
#pragma once

#include <cstdlib>
#include <string>

#include "sysaccess/text.h"

namespace corrivo::testing {

// A file of the source tree (CTest passes the tree's root in CORRIVO_SOURCE_DIR). Under Wine
// the Linux root is reached through drive Z:.
inline std::wstring SourcePath(const std::wstring& relative) {
  const char* root = std::getenv("CORRIVO_SOURCE_DIR");
  std::wstring path = Utf8ToWide(root ? root : ".") + L"/" + relative;
#ifdef _WIN32
  if (path.front() == L'/') path = L"Z:" + path;
  for (auto& c : path)
    if (c == L'/') c = L'\\';
#endif
  return path;
}

// UTF-16 bytes of a text, little- or big-endian, without a mark.
inline std::string Utf16Bytes(const std::wstring& text, bool bigEndian) {
  const auto units = WideToUtf16Le(text, false);
  std::string out;
  for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
    out += static_cast<char>(bigEndian ? units[i + 1] : units[i]);
    out += static_cast<char>(bigEndian ? units[i] : units[i + 1]);
  }
  return out;
}

}  // namespace corrivo::testing
