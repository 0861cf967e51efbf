#include "console/win32/console_win32.h"

#include <algorithm>
#include <string>

#include "sysaccess/text.h"
#include "sysaccess/win32/win32_api.h"

namespace corrivo::console {
namespace {

// WriteConsoleW takes at most a few tens of kilobytes at once on older systems.
constexpr std::size_t kConsoleChunk = 8192;

std::wstring WithCrLf(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
    out += text[i];
  }
  return out;
}

}  // namespace

StdHandleSink::StdHandleSink(std::uint32_t which) : handle_(GetStdHandle(static_cast<DWORD>(which))) {
  DWORD mode = 0;
  console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE && GetConsoleMode(handle_, &mode) != 0;
}

void StdHandleSink::Write(std::wstring_view text) {
  if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE || text.empty()) return;
  // A closed or broken stream loses the text; the command still ends with its own exit code.
  if (console_) {
    for (std::size_t at = 0; at < text.size(); at += kConsoleChunk) {
      const std::size_t count = std::min(kConsoleChunk, text.size() - at);
      DWORD written = 0;
      if (!WriteConsoleW(handle_, text.data() + at, static_cast<DWORD>(count), &written, nullptr)) return;
    }
    return;
  }
  const std::string bytes = WideToUtf8(WithCrLf(text));
  std::size_t at = 0;
  while (at < bytes.size()) {
    DWORD written = 0;
    const DWORD count = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 1u << 20));
    if (!WriteFile(handle_, bytes.data() + at, count, &written, nullptr) || written == 0) return;
    at += written;
  }
}

bool IsAdministrator() {
  // CheckTokenMembership looks at the effective token: under UAC the Administrators group of
  // a filtered token is deny-only, so an unelevated prompt answers false as it should.
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                &administrators))
    return false;
  BOOL member = FALSE;
  const bool asked = CheckTokenMembership(nullptr, administrators, &member) != FALSE;
  FreeSid(administrators);
  return asked && member != FALSE;
}

}  // namespace corrivo::console
