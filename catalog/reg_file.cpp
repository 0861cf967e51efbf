#include "catalog/reg_file.h"

#include <cwctype>

#include "sysaccess/text.h"

namespace corrivo {
namespace {

constexpr std::size_t kRegeditLineWidth = 80;

std::wstring Hex2(std::uint8_t byte) {
  static const wchar_t digits[] = L"0123456789abcdef";
  return {digits[byte >> 4], digits[byte & 15]};
}

std::wstring HexNumber(std::uint32_t value, int width) {
  static const wchar_t digits[] = L"0123456789abcdef";
  std::wstring out;
  do {
    out.insert(out.begin(), digits[value & 15]);
    value >>= 4;
  } while (value != 0);
  while (static_cast<int>(out.size()) < width) out.insert(out.begin(), L'0');
  return out;
}

std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\\' || c == L'"') out += L'\\';
    out += c;
  }
  return out;
}

// The text of a REG_SZ that regedit can write as "..." and read back as the same bytes: whole
// UTF-16 units, one terminator at the very end, no other zero, nothing that would break the
// line, and surrogates only in pairs (the text passes through wchar_t on every platform).
bool AsQuotedText(const RegistryValue& value, std::wstring* text) {
  if (value.type != RegType::Sz) return false;
  const auto& d = value.data;
  if (d.size() < 2 || d.size() % 2 != 0 || d[d.size() - 1] != 0 || d[d.size() - 2] != 0) return false;
  const std::size_t units = d.size() / 2 - 1;
  for (std::size_t i = 0; i < units; ++i) {
    const std::uint32_t u = d[2 * i] | (d[2 * i + 1] << 8);
    if (u < 0x20) return false;
    if (u >= 0xD800 && u <= 0xDBFF) {
      const std::uint32_t next = i + 1 < units ? (d[2 * i + 2] | (d[2 * i + 3] << 8)) : 0;
      if (next < 0xDC00 || next > 0xDFFF) return false;
      ++i;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      return false;
    }
  }
  *text = Utf16LeToWide(d.data(), units * 2);
  return true;
}

std::wstring HexPrefix(RegType type) {
  if (type == RegType::Binary) return L"hex:";
  return L"hex(" + HexNumber(static_cast<std::uint32_t>(type), 1) + L"):";
}

std::wstring ValueName(const std::wstring& name) { return name.empty() ? L"@" : L"\"" + Escaped(name) + L"\""; }

bool StartsWith(const std::wstring& s, const wchar_t* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

std::wstring PlainKeyPath(const std::wstring& key) {
  std::size_t begin = 0, end = key.size();
  while (begin < end && key[begin] == L'\\') ++begin;
  while (end > begin && key[end - 1] == L'\\') --end;
  return key.substr(begin, end - begin);
}

std::wstring FullKeyName(RegRoot root, const std::wstring& key) {
  const std::wstring plain = PlainKeyPath(key);
  return plain.empty() ? std::wstring(RootName(root)) : std::wstring(RootName(root)) + L"\\" + plain;
}

// --- Writer

void RegFileWriter::Line(const std::wstring& line) { body_ += line + L"\r\n"; }

void RegFileWriter::Section(RegRoot root, const std::wstring& key) {
  const std::wstring header = L"[" + FullKeyName(root, key) + L"]";
  if (header == sectionKey_) return;
  Line(L"");
  Line(header);
  sectionKey_ = header;
}

void RegFileWriter::AddValue(RegRoot root, const std::wstring& key, const std::wstring& name,
                             const RegistryValue& value) {
  Section(root, key);
  const std::wstring lead = ValueName(name) + L"=";
  std::wstring text;
  if (AsQuotedText(value, &text)) {
    Line(lead + L"\"" + Escaped(text) + L"\"");
    return;
  }
  if (value.type == RegType::Dword && value.data.size() == 4) {
    const std::uint32_t v = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                            (static_cast<std::uint32_t>(value.data[3]) << 24);
    Line(lead + L"dword:" + HexNumber(v, 8));
    return;
  }
  // Long byte lists are wrapped after a comma with a backslash, continuation lines indented by
  // two blanks, so that no line passes regedit's own width.
  std::wstring line = lead + HexPrefix(value.type);
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    const std::wstring token = Hex2(value.data[i]) + (i + 1 < value.data.size() ? L"," : L"");
    if (i > 0 && line.size() + token.size() + 1 > kRegeditLineWidth) {
      Line(line + L"\\");
      line = L"  ";
    }
    line += token;
  }
  Line(line);
}

void RegFileWriter::DeleteValue(RegRoot root, const std::wstring& key, const std::wstring& name) {
  Section(root, key);
  Line(ValueName(name) + L"=-");
}

void RegFileWriter::DeleteKey(RegRoot root, const std::wstring& key) {
  Line(L"");
  Line(L"[-" + FullKeyName(root, key) + L"]");
  sectionKey_.clear();
}

void RegFileWriter::CreateKey(RegRoot root, const std::wstring& key) { Section(root, key); }

void RegFileWriter::Comment(const std::wstring& text) {
  Line(L"");
  for (const std::wstring& line : Split(text, L'\n')) Line(L"; " + line);
  sectionKey_.clear();
}

std::wstring RegFileWriter::Text() const { return std::wstring(kRegFileHeader) + L"\r\n" + body_ + L"\r\n"; }

std::string EncodeUtf16LeWithBom(const std::wstring& text) {
  std::wstring crlf;
  crlf.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) crlf += L'\r';
    crlf += text[i];
  }
  const std::vector<unsigned char> units = WideToUtf16Le(crlf, false);
  std::string out("\xFF\xFE", 2);
  out.append(units.begin(), units.end());
  return out;
}

std::wstring DecodeRegFileBytes(const std::string& bytes) {
  const auto* raw = reinterpret_cast<const unsigned char*>(bytes.data());
  if (bytes.size() >= 2 && raw[0] == 0xFF && raw[1] == 0xFE)
    return Utf16LeToWide(raw + 2, (bytes.size() - 2) & ~static_cast<std::size_t>(1));
  if (bytes.size() >= 3 && raw[0] == 0xEF && raw[1] == 0xBB && raw[2] == 0xBF) return Utf8ToWide(bytes.substr(3));
  return Utf8ToWide(bytes);
}

// --- Reader

namespace {

struct LineReader {
  std::vector<std::wstring> lines;
  std::size_t next = 0;
  int number = 0;  // of the last line handed out (its first physical line)

  bool Get(std::wstring* line) {
    if (next >= lines.size()) return false;
    number = static_cast<int>(next) + 1;
    *line = lines[next++];
    // Hex data goes on over the following lines after a trailing backslash; comments and key
    // sections never do.
    const std::wstring head = Trim(*line);
    const bool continues = head.empty() || (head[0] != L';' && head[0] != L'[');
    while (continues && !line->empty() && line->back() == L'\\' && next < lines.size()) {
      line->pop_back();
      std::wstring more = lines[next++];
      std::size_t lead = 0;
      while (lead < more.size() && (more[lead] == L' ' || more[lead] == L'\t')) ++lead;
      *line += more.substr(lead);
    }
    return true;
  }
};

std::vector<std::wstring> PhysicalLines(const std::wstring& text) {
  std::vector<std::wstring> out;
  std::wstring current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') {
      if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      out.push_back(current);
      current.clear();
    } else {
      current += text[i];
    }
  }
  if (!current.empty()) out.push_back(current);
  for (auto& line : out)
    while (!line.empty() && (line.back() == L' ' || line.back() == L'\t')) line.pop_back();
  return out;
}

// A quoted text starting at `pos` (on the opening quote); `pos` ends after the closing quote.
bool ReadQuoted(const std::wstring& line, std::size_t* pos, std::wstring* out) {
  if (*pos >= line.size() || line[*pos] != L'"') return false;
  out->clear();
  for (std::size_t i = *pos + 1; i < line.size(); ++i) {
    if (line[i] == L'\\') {
      if (i + 1 >= line.size() || (line[i + 1] != L'\\' && line[i + 1] != L'"')) return false;
      *out += line[++i];
    } else if (line[i] == L'"') {
      *pos = i + 1;
      return true;
    } else {
      *out += line[i];
    }
  }
  return false;
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

bool ParseHexNumber(const std::wstring& text, std::uint32_t* value) {
  if (text.empty() || text.size() > 8) return false;
  std::uint32_t v = 0;
  for (wchar_t c : text) {
    const int d = HexDigit(c);
    if (d < 0) return false;
    v = (v << 4) | static_cast<std::uint32_t>(d);
  }
  *value = v;
  return true;
}

bool ParseHexBytes(const std::wstring& text, std::vector<std::uint8_t>* bytes) {
  bytes->clear();
  if (Trim(text).empty()) return true;
  for (const std::wstring& piece : Split(text, L',')) {
    const std::wstring t = Trim(piece);
    std::uint32_t v = 0;
    if (t.size() > 2 || !ParseHexNumber(t, &v)) return false;
    bytes->push_back(static_cast<std::uint8_t>(v));
  }
  return true;
}

// Everything after "=" of a value line.
bool ParseData(const std::wstring& data, RegFileChange* change) {
  if (data == L"-") {
    change->kind = RegFileChange::Kind::DeleteValue;
    return true;
  }
  change->kind = RegFileChange::Kind::SetValue;
  if (!data.empty() && data[0] == L'"') {
    std::size_t pos = 0;
    std::wstring text;
    if (!ReadQuoted(data, &pos, &text) || pos != data.size()) return false;
    const auto units = WideToUtf16Le(text, true);
    change->value = RegistryValue{RegType::Sz, std::vector<std::uint8_t>(units.begin(), units.end())};
    return true;
  }
  if (StartsWith(data, L"dword:")) {
    std::uint32_t v = 0;
    if (!ParseHexNumber(data.substr(6), &v)) return false;
    change->value = RegistryValue{RegType::Dword, {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                                   static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)}};
    return true;
  }
  std::size_t colon = std::wstring::npos;
  std::uint32_t type = static_cast<std::uint32_t>(RegType::Binary);
  if (StartsWith(data, L"hex:")) {
    colon = 3;
  } else if (StartsWith(data, L"hex(")) {
    const std::size_t close = data.find(L"):");
    if (close == std::wstring::npos || !ParseHexNumber(data.substr(4, close - 4), &type)) return false;
    colon = close + 1;
  } else {
    return false;
  }
  change->value.type = static_cast<RegType>(type);
  return ParseHexBytes(data.substr(colon + 1), &change->value.data);
}

bool ParseSection(const std::wstring& line, RegFileChange* change) {
  const std::size_t close = line.rfind(L']');
  if (close == std::wstring::npos || close + 1 != line.size()) return false;
  std::wstring path = line.substr(1, close - 1);
  change->kind = RegFileChange::Kind::OpenKey;
  if (!path.empty() && path[0] == L'-') {
    change->kind = RegFileChange::Kind::DeleteKey;
    path.erase(0, 1);
  }
  const std::size_t slash = path.find(L'\\');
  if (!ParseRootName(path.substr(0, slash), &change->root)) return false;
  change->key = slash == std::wstring::npos ? std::wstring() : PlainKeyPath(path.substr(slash + 1));
  // Deleting a whole root is nothing a file of ours asks for.
  return !(change->kind == RegFileChange::Kind::DeleteKey && change->key.empty());
}

}  // namespace

RegFileParse ParseRegFile(const std::wstring& text) {
  RegFileParse result;
  LineReader reader{PhysicalLines(text)};
  auto fail = [&](const std::wstring& why) {
    result.ok = false;
    result.changes.clear();
    result.error = L"line " + std::to_wstring(reader.number) + L": " + why;
    return result;
  };
  std::wstring line;
  bool header = false;
  bool inSection = false;
  RegFileChange section;
  while (reader.Get(&line)) {
    if (!header && !line.empty() && line[0] == 0xFEFF) line.erase(0, 1);
    const std::wstring trimmed = Trim(line);
    if (trimmed.empty()) continue;
    if (!header) {
      if (trimmed != kRegFileHeader) return fail(L"not a Registry Editor 5.00 file");
      header = true;
      continue;
    }
    if (trimmed[0] == L';') continue;
    if (trimmed[0] == L'[') {
      if (!ParseSection(trimmed, &section)) return fail(L"unreadable key \"" + trimmed + L"\"");
      inSection = section.kind == RegFileChange::Kind::OpenKey;
      result.changes.push_back(section);
      continue;
    }
    if (!inSection) return fail(L"value outside a key section");
    RegFileChange change;
    change.root = section.root;
    change.key = section.key;
    std::size_t pos = 0;
    if (trimmed[0] == L'@') {
      pos = 1;
    } else if (!ReadQuoted(trimmed, &pos, &change.name)) {
      return fail(L"unreadable value name");
    }
    if (pos >= trimmed.size() || trimmed[pos] != L'=') return fail(L"missing \"=\" after the value name");
    if (!ParseData(Trim(trimmed.substr(pos + 1)), &change)) return fail(L"unreadable value data");
    result.changes.push_back(change);
  }
  if (!header) return fail(L"empty file");
  result.ok = true;
  return result;
}

bool ApplyRegFileChanges(const Registry& registry, const std::vector<RegFileChange>& changes) {
  bool ok = true;
  for (const RegFileChange& c : changes) {
    switch (c.kind) {
      case RegFileChange::Kind::OpenKey: ok = registry.CreateKey(c.root, c.key) && ok; break;
      case RegFileChange::Kind::SetValue: ok = registry.WriteValue(c.root, c.key, c.name, c.value) && ok; break;
      case RegFileChange::Kind::DeleteValue: ok = registry.DeleteValue(c.root, c.key, c.name) && ok; break;
      case RegFileChange::Kind::DeleteKey: ok = registry.DeleteKey(c.root, c.key) && ok; break;
    }
  }
  return ok;
}

}  // namespace corrivo
