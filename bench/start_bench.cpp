// Start-up figures under Wine: time from process creation to the first painted, idle window,
// and the peak private memory after every page and category has been shown.
//
//   start_bench.exe <exe> <window class> <runs> [pages]
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "tests/gui/gui_driver.h"

#include <psapi.h>

namespace {

struct Run {
  double startMs = 0;
  SIZE_T peakPrivate = 0;
};

HWND WaitVisible(DWORD pid, const wchar_t* cls) {
  for (int i = 0; i < 400; ++i) {
    HWND w = FindWindowW(cls, nullptr);
    DWORD owner = 0;
    if (w) GetWindowThreadProcessId(w, &owner);
    if (w && owner == pid && IsWindowVisible(w)) return w;
    Sleep(5);
  }
  return nullptr;
}

Run Once(const std::wstring& exe, const wchar_t* cls, bool pages) {
  Run run;
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return run;
  // Idle after its first paint: the window has been shown and drawn and waits for input.
  WaitForInputIdle(pi.hProcess, 20000);
  HWND w = WaitVisible(pi.dwProcessId, cls);
  if (w) SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
  QueryPerformanceCounter(&t1);
  run.startMs = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
  if (w && pages) {
    using namespace corrivo;
    for (int page : {1, 2, 3, 0, 1}) gui::ClickCentre(gui::FindControl(w, ids::HeaderTile(page)));
    for (int n = 1; n <= 6; ++n) gui::ClickCentre(gui::FindControl(w, ids::CategoryTile(n)));
  }
  Sleep(300);
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof(pmc);
  if (GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc))) {
    run.peakPrivate = std::max<SIZE_T>(pmc.PeakPagefileUsage, pmc.PrivateUsage);
  }
  if (w) PostMessageW(w, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return run;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  const std::wstring exe = argv[1];
  const int runs = _wtoi(argv[3]);
  const bool pages = argc > 4;
  std::vector<double> times;
  SIZE_T peak = 0;
  Once(exe, argv[2], pages);  // warm the file cache and the prefix
  for (int i = 0; i < runs; ++i) {
    const Run r = Once(exe, argv[2], pages);
    times.push_back(r.startMs);
    peak = std::max(peak, r.peakPrivate);
  }
  std::sort(times.begin(), times.end());
  std::printf("%ls: start to first paint median %.1f ms (min %.1f, max %.1f), peak private %.1f MiB\n",
              argv[2], times[times.size() / 2], times.front(), times.back(), peak / 1048576.0);
  return 0;
}
