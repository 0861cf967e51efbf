// The one-click repairs of the Advanced Fix page: run one repair, tell the shell, show the
// result. The window supplies the Windows side (shell notifications, the desktop's list view,
// the message box owned by the main window) through DispatchEffects.
#pragma once

#include <cstdint>
#include <string>

#include "catalog/catalog.h"

namespace corrivo {

using WindowId = std::uintptr_t;  // 0: no window

constexpr std::int32_t kShcneAssocChanged = 0x08000000;
constexpr std::uint32_t kShcnfFlush = 0x1000;
constexpr std::uint32_t kWmKeyDown = 0x0100;
constexpr std::uint32_t kWmRButtonUp = 0x0205;
constexpr std::uintptr_t kVkF5 = 0x74;
constexpr std::uint32_t kMbOk = 0x0;
constexpr std::uint32_t kMbIconInformation = 0x40;

class DispatchEffects {
 public:
  virtual ~DispatchEffects() = default;
  // SHChangeNotify without item parameters.
  virtual void ChangeNotify(std::int32_t eventId, std::uint32_t flags) = 0;
  virtual WindowId FindTopLevelWindow(const std::wstring& className) = 0;
  virtual WindowId FindChildWindow(WindowId parent, const std::wstring& className) = 0;
  virtual void SendWindowMessage(WindowId window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) = 0;
  // A message box owned by the main window, captioned with its title at this moment.
  virtual void ShowMessage(const std::wstring& text, std::uint32_t style) = 0;
};

// The two result texts (language keys D_FixFinish and D_FixFailed).
struct DispatchTexts {
  std::wstring fixFinish = L"Fixed!";
  std::wstring fixFailed = L"Fixed Failed!";
};

// Runs Fix<ID> with the argument that ID takes and reports the result; an ID outside the
// catalogue does nothing at all.
void FixByID(int id, const FixArgs& args, const DispatchTexts& texts, DispatchEffects& effects);

// F5 to the desktop's list view (after 607), with a shell notification in between.
void RefreshDesktopIcons(DispatchEffects& effects);

}  // namespace corrivo
