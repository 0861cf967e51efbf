// Start-up figures under Wine, Corrivo side by side with two yardsticks started the same way
// in the same session, one after the other in every round (so a busy machine slows all
// three alike): the time from process creation to the first painted, idle window; the peak
// private memory (Corrivo's after every page and category has been shown); and the time from
// a click on a category tile to its rows painted, the first time each category is shown.
// Prints medians, the ratios and whether each meets its target; exits 1 when one does not.
//
//   start_bench.exe <runs> <bare minimal window> <minimal window with Corrivo's manifest> <Corrivo>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "tests/gui/gui_driver.h"

#include <psapi.h>

namespace {

// The targets, against the yardsticks measured in the same run.
constexpr double kStartVsManifest = 1.2;
constexpr double kStartVsBare = 1.5;
constexpr double kMemoryVsManifest = 1.3;
constexpr double kTileToRowsMs = 50;

struct Run {
  double startMs = -1;
  double peakMiB = -1;
  double tileToRowsMs = -1;  // the slowest of the six categories
};

double Now() {
  static LARGE_INTEGER f = [] {
    LARGE_INTEGER x;
    QueryPerformanceFrequency(&x);
    return x;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

HWND WaitVisible(DWORD pid, const wchar_t* cls) {
  for (int i = 0; i < 4000; ++i) {
    HWND w = FindWindowW(cls, nullptr);
    DWORD owner = 0;
    if (w) GetWindowThreadProcessId(w, &owner);
    if (w && owner == pid && IsWindowVisible(w)) return w;
    Sleep(1);
  }
  return nullptr;
}

// Returns once the program has handled everything sent so far.
bool Drain(HWND w) { return SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr) != 0; }

BOOL CALLBACK FindUnpainted(HWND child, LPARAM found) {
  if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

// Waits until no visible window of `area` (`top`'s, or `top` itself) has anything left to
// paint, and the paint in progress (if any) has returned.
void WaitPainted(HWND top, HWND area) {
  for (int i = 0; i < 5000; ++i) {
    bool unpainted = GetUpdateRect(area, nullptr, FALSE) != FALSE;
    if (!unpainted) EnumChildWindows(area, FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    Drain(top);
    if (!unpainted) return;
    Sleep(0);
  }
}

// The time from a click on `control` to the windows of `area` painted.
double ClickAndWaitPainted(HWND top, HWND control, HWND area) {
  RECT r{};
  GetClientRect(control, &r);
  const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
  const double t0 = Now();
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(control, WM_LBUTTONUP, 0, at);
  WaitPainted(top, area);
  return Now() - t0;
}

double PeakPrivateMiB(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof(pmc);
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc))) return -1;
  return static_cast<double>(std::max<SIZE_T>(pmc.PeakPagefileUsage, pmc.PrivateUsage)) / 1048576.0;
}

Run Once(const std::wstring& exe, const wchar_t* cls, bool corrivo) {
  Run run;
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  const double t0 = Now();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return run;
  // Idle after its first paint: the window has been shown and drawn and waits for input (a
  // program is idle only when no window of it has anything left to paint).
  WaitForInputIdle(pi.hProcess, 20000);
  HWND w = WaitVisible(pi.dwProcessId, cls);
  if (w && Drain(w)) run.startMs = Now() - t0;
  if (w && corrivo) {
    using namespace corrivo;
    gui::ClickCentre(gui::FindControl(w, ids::HeaderTile(1)));  // Advanced Fix, category 1 shown
    run.tileToRowsMs = 0;
    for (int n : {2, 3, 4, 5, 6, 1}) {
      const double ms = ClickAndWaitPainted(w, gui::FindControl(w, ids::CategoryTile(n)),
                                            gui::FindControl(w, ids::CategoryPage(n)));
      run.tileToRowsMs = std::max(run.tileToRowsMs, ms);
    }
    for (int page : {2, 3, 0, 1}) gui::ClickCentre(gui::FindControl(w, ids::HeaderTile(page)));
  }
  Sleep(200);
  run.peakMiB = PeakPrivateMiB(pi.hProcess);
  if (w) PostMessageW(w, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  Sleep(300);  // the desktop repaints where the window was before the next program starts
  return run;
}

double Median(std::vector<double> v) {
  v.erase(std::remove_if(v.begin(), v.end(), [](double x) { return x < 0; }), v.end());
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Series {
  std::vector<double> start, peak, tile;
  void Add(const Run& r) {
    start.push_back(r.startMs);
    peak.push_back(r.peakMiB);
    tile.push_back(r.tileToRowsMs);
  }
};

bool Verdict(double value, double limit) {
  const bool ok = value >= 0 && value <= limit;
  std::printf(" (target <= %.2g) %s\n", limit, ok ? "ok" : "MISSED");
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) return 2;
  const int runs = std::max(1, _wtoi(argv[1]));
  const std::wstring bare = argv[2], manifest = argv[3], product = argv[4];
  const wchar_t* minimalClass = L"MinimalWindow";
  const wchar_t* corrivoClass = L"TFixWindows_FormMain";
  // Warm the file cache and the prefix.
  Once(bare, minimalClass, false);
  Once(manifest, minimalClass, false);
  Once(product, corrivoClass, true);
  Series b, m, c;
  for (int i = 0; i < runs; ++i) {
    b.Add(Once(bare, minimalClass, false));
    m.Add(Once(manifest, minimalClass, false));
    c.Add(Once(product, corrivoClass, true));
  }
  const double cs = Median(c.start), ms = Median(m.start), bs = Median(b.start);
  const double cp = Median(c.peak), mp = Median(m.peak), bp = Median(b.peak);
  const double tile = Median(c.tile);
  if (cs < 0 || ms < 0 || bs < 0 || cp < 0 || mp < 0 || tile < 0) {
    std::printf("start_bench: a program gave no figures\n");
    return 1;
  }
  bool ok = true;
  // Every round, so that a machine whose wake-ups come late now and then shows as such.
  std::printf("start to first paint of each round, ms (bare / same manifest / Corrivo):");
  for (int i = 0; i < runs; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    std::printf(" %.0f/%.0f/%.0f", b.start[k], m.start[k], c.start[k]);
  }
  std::printf("\nmedians of %d rounds, the three programs in turn\n", runs);
  std::printf("start to first paint: Corrivo %.1f ms, minimal window with the same manifest %.1f ms: %.2fx", cs, ms,
              cs / ms);
  ok &= Verdict(cs / ms, kStartVsManifest);
  std::printf("start to first paint: Corrivo %.1f ms, bare minimal window %.1f ms: %.2fx", cs, bs, cs / bs);
  ok &= Verdict(cs / bs, kStartVsBare);
  std::printf("peak private memory: Corrivo %.1f MiB (every page and category shown), bare minimal window %.1f MiB, "
              "minimal window with the same manifest %.1f MiB: %.2fx",
              cp, bp, mp, cp / mp);
  ok &= Verdict(cp / mp, kMemoryVsManifest);
  std::printf("category tile to its rows painted, first time, slowest of the six: %.1f ms", tile);
  ok &= Verdict(tile, kTileToRowsMs);
  return ok ? 0 : 1;
}
