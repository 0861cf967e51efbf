#include "app/text_file.h"

#include <cstdint>
#include <utility>

#include "sysaccess/text.h"

namespace corrivo {
namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() && bytes.compare(0, prefix.size(), prefix) == 0;
}

std::wstring Utf16BeToWide(std::string_view bytes) {
  std::string swapped(bytes.substr(0, bytes.size() & ~static_cast<std::size_t>(1)));
  for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
  return Utf16LeToWide(reinterpret_cast<const unsigned char*>(swapped.data()), swapped.size());
}

}  // namespace

std::wstring DecodeText(std::string_view bytes, const AnsiDecoder& ansi, TextEncoding* encoding) {
  TextEncoding found = TextEncoding::Ansi;
  std::wstring text;
  if (StartsWith(bytes, "\xEF\xBB\xBF")) {
    found = TextEncoding::Utf8;
    text = Utf8ToWide(bytes.substr(3));
  } else if (StartsWith(bytes, "\xFF\xFE")) {
    found = TextEncoding::Utf16Le;
    auto body = bytes.substr(2);
    text = Utf16LeToWide(reinterpret_cast<const unsigned char*>(body.data()), body.size());
  } else if (StartsWith(bytes, "\xFE\xFF")) {
    found = TextEncoding::Utf16Be;
    text = Utf16BeToWide(bytes.substr(2));
  } else if (ansi) {
    text = ansi(bytes);
  } else {
    text = Cp1252ToWide(bytes);
  }
  if (encoding) *encoding = found;
  return text;
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    wchar_t c = text[i];
    if (c != L'\r' && c != L'\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (c == L'\r' && i + 1 < n && text[i + 1] == L'\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.emplace_back(text.substr(start));
  return lines;
}

bool LoadTextFile(FileService& files, const std::wstring& path, std::vector<std::wstring>* lines,
                  TextEncoding* encoding) {
  lines->clear();
  std::string bytes;
  if (files.ReadWholeFile(path, &bytes) != FileRead::Ok) return false;
  *lines = SplitLines(DecodeText(bytes, [&files](std::string_view b) { return files.AnsiToWide(b); }, encoding));
  return true;
}

bool IsAsciiText(std::wstring_view text) {
  for (wchar_t c : text)
    if (static_cast<std::uint32_t>(c) >= 0x80) return false;
  return true;
}

std::string EncodeText(const std::vector<std::wstring>& lines, TextEncoding encoding) {
  std::size_t total = 0;
  for (const auto& line : lines) total += line.size() + 2;
  std::wstring text;
  text.reserve(total);
  for (const auto& line : lines) {
    text += line;
    text += L"\r\n";
  }
  switch (encoding) {
    case TextEncoding::Utf8:
      return "\xEF\xBB\xBF" + WideToUtf8(text);
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
      const bool little = encoding == TextEncoding::Utf16Le;
      const auto units = WideToUtf16Le(text, false);
      std::string out(little ? "\xFF\xFE" : "\xFE\xFF");
      out.reserve(units.size() + 2);
      for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        out += static_cast<char>(units[little ? i : i + 1]);
        out += static_cast<char>(units[little ? i + 1 : i]);
      }
      return out;
    }
    case TextEncoding::Ansi:
      break;
  }
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) out += static_cast<std::uint32_t>(c) < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace corrivo
