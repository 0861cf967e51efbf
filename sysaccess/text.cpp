#include "sysaccess/text.h"


namespace corrivo {

wchar_t ToLowerChar(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + (L'a' - L'A'));
  if (c < 0xC0) return c;
  // A fixed table rather than the C library, whose answer depends on the locale: Latin-1,
  // Latin Extended-A, Greek and Cyrillic capitals, as Windows folds them.
  const unsigned u = static_cast<unsigned>(c);
  if (u <= 0xDE) return u == 0xD7 ? c : static_cast<wchar_t>(u + 0x20);
  // The dotted capital I has no partner in this block and stays as it is.
  if (u >= 0x100 && u <= 0x137) return u == 0x130 ? c : static_cast<wchar_t>(u | 1);
  if (u >= 0x139 && u <= 0x148) return (u & 1) ? static_cast<wchar_t>(u + 1) : c;
  if (u >= 0x14A && u <= 0x177) return static_cast<wchar_t>(u | 1);
  if (u == 0x178) return static_cast<wchar_t>(0xFF);
  if (u >= 0x179 && u <= 0x17E) return (u & 1) ? static_cast<wchar_t>(u + 1) : c;
  if (u >= 0x391 && u <= 0x3AB && u != 0x3A2) return static_cast<wchar_t>(u + 0x20);
  if (u >= 0x400 && u <= 0x40F) return static_cast<wchar_t>(u + 0x50);
  if (u >= 0x410 && u <= 0x42F) return static_cast<wchar_t>(u + 0x20);
  return c;
}

std::wstring ToLower(std::wstring_view s) {
  std::wstring out(s);
  for (auto& c : out) c = ToLowerChar(c);
  return out;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToLowerChar(a[i]) != ToLowerChar(b[i])) return false;
  }
  return true;
}

bool ContainsNoCase(std::wstring_view haystack, std::wstring_view needle) {
  return ToLower(haystack).find(ToLower(needle)) != std::wstring::npos;
}

std::wstring Trim(std::wstring_view s) {
  // Control characters count as blanks, as in the classic Trim of INI readers.
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] <= L' ') ++b;
  while (e > b && s[e - 1] <= L' ') --e;
  return std::wstring(s.substr(b, e - b));
}

std::vector<std::wstring> Split(std::wstring_view s, wchar_t separator) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t pos = s.find(separator, start);
    if (pos == std::wstring_view::npos) {
      parts.emplace_back(s.substr(start));
      return parts;
    }
    parts.emplace_back(s.substr(start, pos - start));
    start = pos + 1;
  }
}

std::string WideToUtf8(std::wstring_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    std::uint32_t cp = static_cast<std::uint32_t>(s[i]);
    if (sizeof(wchar_t) == 2 && cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size()) {
      std::uint32_t lo = static_cast<std::uint32_t>(s[i + 1]);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
        ++i;
      }
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

namespace {
void AppendCodePoint(std::wstring& out, std::uint32_t cp) {
  if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
    cp -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (cp >> 10));
    out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<wchar_t>(cp);
  }
}
}  // namespace

std::wstring Utf8ToWide(std::string_view s) {
  std::wstring out;
  std::size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size() + (extra == 0 ? 1 : 0)) {
      // A broken or cut sequence: keep going with the replacement character.
      out += static_cast<wchar_t>(0xFFFD);
      ++i;
      continue;
    }
    std::uint32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) { ok = false; break; }
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += static_cast<wchar_t>(0xFFFD);
      ++i;
      continue;
    }
    AppendCodePoint(out, cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

std::wstring Cp1252ToWide(std::string_view s) {
  static const char16_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::wstring out;
  out.reserve(s.size());
  for (char ch : s) {
    unsigned char c = static_cast<unsigned char>(ch);
    out += (c >= 0x80 && c < 0xA0) ? static_cast<wchar_t>(kHigh[c - 0x80]) : static_cast<wchar_t>(c);
  }
  return out;
}

std::wstring Utf16LeToWide(const unsigned char* bytes, std::size_t count) {
  std::wstring out;
  out.reserve(count / 2);
  for (std::size_t i = 0; i + 1 < count; i += 2) {
    std::uint32_t unit = bytes[i] | (bytes[i + 1] << 8);
    if (sizeof(wchar_t) == 4 && unit >= 0xD800 && unit <= 0xDBFF && i + 3 < count) {
      std::uint32_t lo = bytes[i + 2] | (bytes[i + 3] << 8);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        out += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (lo - 0xDC00));
        i += 2;
        continue;
      }
    }
    out += static_cast<wchar_t>(unit);
  }
  return out;
}

std::vector<unsigned char> WideToUtf16Le(std::wstring_view s, bool terminator) {
  std::vector<unsigned char> out;
  out.reserve((s.size() + 1) * 2);
  auto put = [&out](std::uint32_t unit) {
    out.push_back(static_cast<unsigned char>(unit & 0xFF));
    out.push_back(static_cast<unsigned char>((unit >> 8) & 0xFF));
  };
  for (wchar_t wc : s) {
    std::uint32_t cp = static_cast<std::uint32_t>(wc);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      put(0xD800 + (cp >> 10));
      put(0xDC00 + (cp & 0x3FF));
    } else {
      put(cp);
    }
  }
  if (terminator) put(0);
  return out;
}

std::string WideToCp1252(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    // The 32 characters Windows-1252 places at 0x80-0x9F; the decoder's table read backwards.
    char mapped = '?';
    for (int b = 0x80; b < 0xA0; ++b) {
      const char byte = static_cast<char>(b);
      if (Cp1252ToWide(std::string_view(&byte, 1))[0] == c) {
        mapped = byte;
        break;
      }
    }
    out += mapped;
  }
  return out;
}

}  // namespace corrivo
