#include <gtest/gtest.h>

#include "console/json.h"

namespace corrivo::console {
namespace {

TEST(JsonTest, EscapesWhatWouldBreakTheLineOrTheEncoding) {
  EXPECT_EQ(JsonString(L"a\"b\\c/d"), L"\"a\\\"b\\\\c/d\"");
  EXPECT_EQ(JsonString(L"1\n2\r3\t4"), L"\"1\\n2\\r3\\t4\"");
  EXPECT_EQ(JsonString(std::wstring(L"\x01\x1f\x7f", 3)), L"\"\\u0001\\u001f\\u007f\"");
  EXPECT_EQ(JsonString(std::wstring(1, L'\0')), L"\"\\u0000\"");
  EXPECT_EQ(JsonString(L"Pr\u00e9f\u00e9rences \u4e2d"), L"\"Pr\u00e9f\u00e9rences \u4e2d\"");
  // Half a character cannot be written as UTF-8; a whole one outside the BMP stays as it is.
  const std::wstring lone(1, static_cast<wchar_t>(0xD83D));
  EXPECT_EQ(JsonString(lone + L"x"), L"\"\\ud83dx\"");
  EXPECT_EQ(JsonString(L"\U0001F600"), L"\"\U0001F600\"");
#ifndef _WIN32
  EXPECT_EQ(JsonString(std::wstring(1, static_cast<wchar_t>(0x110000))), L"\"\\ufffd\"");
#endif
}

}  // namespace
}  // namespace corrivo::console
