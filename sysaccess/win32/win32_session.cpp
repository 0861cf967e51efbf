// Who is at the desktop: the owner of this session's shell, read from its process token, and
// the user this process runs as. Everything here is on Windows XP already.
#include <vector>

#include "sysaccess/desktop_user.h"
#include "sysaccess/shell_services.h"
#include "sysaccess/win32/win32_api.h"

#include <sddl.h>
#include <tlhelp32.h>

namespace corrivo {
namespace {

// Frees what ConvertSidToStringSidW allocates.
struct LocalText {
  wchar_t* text = nullptr;
  ~LocalText() {
    if (text) LocalFree(text);
  }
};

std::optional<Account> TokenOwner(HANDLE process) {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) return std::nullopt;
  win32::UniqueHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return std::nullopt;
  std::vector<std::uint8_t> buffer(size);
  if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return std::nullopt;
  PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
  LocalText sidText;
  if (!ConvertSidToStringSidW(sid, &sidText.text)) return std::nullopt;
  Account account{sidText.text, sidText.text};
  wchar_t name[256] = {}, domain[256] = {};
  DWORD nameLength = 256, domainLength = 256;
  SID_NAME_USE use;
  if (LookupAccountSidW(nullptr, sid, name, &nameLength, domain, &domainLength, &use))
    account.name = domainLength > 0 ? std::wstring(domain) + L"\\" + name : std::wstring(name);
  return account;
}

std::optional<Account> ProcessIdOwner(DWORD processId) {
  win32::UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
  if (!process) return std::nullopt;
  return TokenOwner(process.get());
}

// Without a shell window (Explorer starting or gone, or a shell that never sets one), the
// owner of the explorer.exe processes of this session, when they all have the same one.
std::optional<Account> ExplorerOwner() {
  DWORD session = 0;
  if (!ProcessIdToSessionId(GetCurrentProcessId(), &session)) return std::nullopt;
  win32::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return std::nullopt;
  std::optional<Account> owner;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    DWORD itsSession = 0;
    if (!ProcessNameMatches(entry.szExeFile, L"explorer.exe") ||
        !ProcessIdToSessionId(entry.th32ProcessID, &itsSession) || itsSession != session)
      continue;
    const std::optional<Account> found = ProcessIdOwner(entry.th32ProcessID);
    if (!found) continue;
    if (owner && owner->sid != found->sid) return std::nullopt;  // two users: no telling which
    owner = found;
  }
  return owner;
}

class Win32SessionAccounts : public SessionAccounts {
 public:
  std::optional<Account> ShellOwner() override {
    DWORD processId = 0;
    if (HWND shell = GetShellWindow()) GetWindowThreadProcessId(shell, &processId);
    return processId != 0 ? ProcessIdOwner(processId) : ExplorerOwner();
  }

  std::optional<Account> ProcessOwner() override { return TokenOwner(GetCurrentProcess()); }
};

}  // namespace

SessionAccounts& PlatformSessionAccounts() {
  static Win32SessionAccounts accounts;
  return accounts;
}

}  // namespace corrivo
