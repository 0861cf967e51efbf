// Plans that are not in the catalogue but hold what an exporter must get right and the
// catalogue's own data does not reach: quotes, batch and template characters, a trailing
// backslash, "%" in names and data, negative and large numbers, default values, text beyond
// ASCII and wide enough to wrap, commands with unquoted "&". The unit tests and both consumer
// checks use them.
#pragma once

#include <vector>

#include "catalog/export.h"

namespace corrivo::testing {

inline constexpr const wchar_t* kEdgeKey = L"\\Software\\Corrivo Edge & (Test)";

// Registry steps every format carries (ASCII only, so the batch file takes them too).
inline exporting::RepairPlan EdgeRegistryPlan() {
  const std::wstring k = kEdgeKey;
  const RegRoot cu = RegRoot::CurrentUser;
  return {9001, L"Edge: quotes \"q\", 100% & (parens) {{ braces }}",
          {WriteString(cu, k, L"say \"hi\"", L"say \"hi\" & echo %PATH% ^ | < > ( ) end"),
           WriteString(cu, k, L"", L""),
           WriteExpandString(cu, k, L"expand", L"%SystemRoot%\\x;\"q\"\\"),
           WriteDword(cu, k, L"negative", -1),
           WriteDword(cu, k, L"large", 0x7fffffff),
           WriteString(cu, k + L"\\Sub\\", L"100%", L"C:\\dir\\"),
           DeleteValue(cu, k, L"gone"),
           DeleteValue(cu, k + L"\\Sub", L""),
           DeleteKey(cu, k + L"\\Old"),
           CreateKey(cu, k + L"\\New"),
           IfPreviousFailed(WriteString(cu, k, L"fallback", L"only after a failure"))}};
}

// Text a batch file cannot carry: beyond ASCII, line breaks, and long enough to wrap in a .reg file.
inline exporting::RepairPlan EdgeWidePlan() {
  const std::wstring k = std::wstring(kEdgeKey) + L"\\Wide";
  const RegRoot cu = RegRoot::CurrentUser;
  return {9002, L"Edge: wide text",
          {WriteString(cu, k, L"Gr\u00FC\u00DFe", L"Gr\u00FC\u00DFe \u2013 \u2713 \u00E9t\u00E9"),
           WriteString(cu, k, L"lines", L"two\r\nlines\ttab"),
           WriteExpandString(cu, k, L"long", std::wstring(150, L'x') + L"%TEMP%\\" + std::wstring(60, L'y'))}};
}

// Commands that write the registry themselves: "%" expanded by the command interpreter, a
// quoted "&", and an unquoted "&" that joins two commands.
inline exporting::RepairPlan EdgeCommandPlan() {
  return {9003, L"Edge: commands",
          {Run(L"/c reg add \"HKCU\\Software\\Corrivo Edge & (Test)\" /v fromcmd /t REG_EXPAND_SZ /d \"%SystemRoot% & more\" /f"),
           Run(L"/c reg add \"HKCU\\Software\\Corrivo Edge & (Test)\" /v first /d 1 /f & reg add "
               L"\"HKCU\\Software\\Corrivo Edge & (Test)\" /v second /d 2 /f"),
           Wait(300)}};
}

}  // namespace corrivo::testing
