// Helpers of the language tests: raw file bytes in and out, independent of the code under test,
// and the shipped language files of the source tree.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "sysaccess/text.h"

namespace corrivo::testing {

inline bool WindowsBuild() { return std::filesystem::path::preferred_separator == L'\\'; }

inline std::filesystem::path FsPath(const std::wstring& path) {
  if (WindowsBuild()) return std::filesystem::path(path);
  std::wstring posix = path;
  for (auto& c : posix)
    if (c == L'\\') c = L'/';
  return std::filesystem::path(WideToUtf8(posix));
}

inline void WriteBytes(const std::wstring& path, std::string_view bytes) {
  std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
  ASSERT_TRUE(out.good()) << WideToUtf8(path);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(FsPath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool PathExists(const std::wstring& path) {
  std::error_code ec;
  return std::filesystem::exists(FsPath(path), ec);
}

// A file of the source tree (CTest passes the tree's root in CORRIVO_SOURCE_DIR). Under Wine
// the Linux root is reached through drive Z:.
inline std::wstring SourcePath(const std::wstring& relative) {
  const char* root = std::getenv("CORRIVO_SOURCE_DIR");
  std::wstring path = Utf8ToWide(root ? root : ".");
  if (WindowsBuild() && !path.empty() && path.front() == L'/') path = L"Z:" + path;
  path += L"/" + relative;
  if (WindowsBuild())
    for (auto& c : path)
      if (c == L'/') c = L'\\';
  return path;
}

// UTF-16 bytes of a text, little- or big-endian, without a mark.
inline std::string Utf16Bytes(const std::wstring& text, bool bigEndian) {
  auto units = WideToUtf16Le(text, false);
  std::string out;
  for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
    out += static_cast<char>(bigEndian ? units[i + 1] : units[i]);
    out += static_cast<char>(bigEndian ? units[i] : units[i + 1]);
  }
  return out;
}

}  // namespace corrivo::testing
