#include "console/json.h"

namespace corrivo::console {
namespace {

const wchar_t kHex[] = L"0123456789abcdef";

void AppendUnitEscape(std::wstring& out, std::uint32_t unit) {
  out += L"\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
}

bool IsHighSurrogate(std::uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::wstring JsonString(std::wstring_view text) {
  std::wstring out = L"\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<std::uint32_t>(text[i]);
    switch (c) {
      case L'"': out += L"\\\""; continue;
      case L'\\': out += L"\\\\"; continue;
      case L'\n': out += L"\\n"; continue;
      case L'\r': out += L"\\r"; continue;
      case L'\t': out += L"\\t"; continue;
      default: break;
    }
    if (c < 0x20 || c == 0x7F) {
      AppendUnitEscape(out, c);
    } else if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(static_cast<std::uint32_t>(text[i + 1])) &&
               sizeof(wchar_t) == 2) {
      out += text[i];
      out += text[++i];
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      // Stays readable as the unit it was; written raw it would not be UTF-8 at all.
      AppendUnitEscape(out, c);
    } else if (c > 0x10FFFF) {
      AppendUnitEscape(out, 0xFFFD);
    } else {
      out += text[i];
    }
  }
  out += L'"';
  return out;
}

JsonObject& JsonObject::Raw(std::wstring_view name, std::wstring_view json) {
  if (!body_.empty()) body_ += L',';
  body_ += JsonString(name);
  body_ += L':';
  body_ += json;
  return *this;
}

JsonObject& JsonObject::Add(std::wstring_view name, std::wstring_view text) { return Raw(name, JsonString(text)); }

JsonObject& JsonObject::Add(std::wstring_view name, const wchar_t* text) {
  return text ? Add(name, std::wstring_view(text)) : AddNull(name);
}

JsonObject& JsonObject::Add(std::wstring_view name, std::int64_t number) { return Raw(name, std::to_wstring(number)); }

JsonObject& JsonObject::Add(std::wstring_view name, bool value) { return Raw(name, value ? L"true" : L"false"); }

JsonObject& JsonObject::AddNull(std::wstring_view name) { return Raw(name, L"null"); }

JsonObject& JsonObject::Add(std::wstring_view name, const std::vector<std::wstring>& texts) {
  std::wstring list = L"[";
  for (std::size_t i = 0; i < texts.size(); ++i) list += (i ? L"," : L"") + JsonString(texts[i]);
  return Raw(name, list + L"]");
}

JsonObject& JsonObject::Add(std::wstring_view name, const std::vector<int>& numbers) {
  std::wstring list = L"[";
  for (std::size_t i = 0; i < numbers.size(); ++i) list += (i ? L"," : L"") + std::to_wstring(numbers[i]);
  return Raw(name, list + L"]");
}

std::wstring JsonObject::Line() const { return L"{" + body_ + L"}\n"; }

}  // namespace corrivo::console
