// JSON output of the command line: one object per line, built field by field. Texts come from
// the catalogue, the registry and the user's own arguments, so every string is escaped here
// and nowhere else.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corrivo::console {

// `text` as a JSON string literal, quotes included. Control characters become escapes, and so
// does any code unit that is not a whole character (a lone UTF-16 surrogate, or a value past
// U+10FFFF) so that the line stays valid UTF-8 once written out.
std::wstring JsonString(std::wstring_view text);

// {"a":1,"b":"x"} in the order the fields were added.
class JsonObject {
 public:
  JsonObject& Add(std::wstring_view name, std::wstring_view text);
  JsonObject& Add(std::wstring_view name, const wchar_t* text);  // null gives null
  JsonObject& Add(std::wstring_view name, std::int64_t number);
  JsonObject& Add(std::wstring_view name, int number) { return Add(name, static_cast<std::int64_t>(number)); }
  JsonObject& Add(std::wstring_view name, bool value);
  JsonObject& AddNull(std::wstring_view name);
  JsonObject& Add(std::wstring_view name, const std::vector<std::wstring>& texts);
  JsonObject& Add(std::wstring_view name, const std::vector<int>& numbers);
  // The object and its line end.
  std::wstring Line() const;

 private:
  JsonObject& Raw(std::wstring_view name, std::wstring_view json);
  std::wstring body_;
};

}  // namespace corrivo::console
