// The 50 scan items of the General Fix page: item index i stands for the repair
// (i / 10 + 1) * 100 + i % 10 + 1, so groups 1 to 5 are scanned and groups 6 and 7 never.
// Each item carries its own English description (the scan's texts are not translated and
// differ from the Advanced Fix page's labels), the rule that decides whether a scan may list
// it on this Windows version, and the rule that decides which check answers for it.
#pragma once

#include <cstdint>

namespace corrivo {

constexpr int kScanItemCount = 50;

// Whether a scan may list the item, by Windows version code (0 XP, 1 Vista, 3 Win7, 6 Win8).
enum class ScanOffer {
  Always,
  Never,
  NotOnWindows7,    // every version but Windows 7
  NotOnXP,          // Vista and later
  Windows7AndLater  // version code 3 or more
};

// Which check answers for the item. Where no check runs the answer is "no problem".
enum class ScanCheck {
  Always,            // Check<ID> on every version
  None,              // no check at all
  NotOnXP,           // no problem on XP, else Check<ID>
  NotOnWindows7Or8,  // no problem on Windows 7 and 8, else Check<ID>
  Windows7AndLater   // no problem below Windows 7, else Check<ID>
};

struct ScanItem {
  const wchar_t* description;
  ScanOffer offer;
  ScanCheck check;
};

bool IsScanItemIndex(int index);
// The repair an item stands for; 0 outside 0..49.
int ScanItemFixId(int index);
// The item's entry; nullptr outside 0..49.
const ScanItem* FindScanItem(int index);
// The item's description; empty outside 0..49.
const wchar_t* ScanItemDescription(int index);
// The item's offered flag on this Windows version; false outside 0..49.
bool ScanItemOffered(int index, std::int32_t osVersionCode);
// The fix ID whose check decides the item on this Windows version, or 0 when the item is
// taken as no problem without running anything (also outside 0..49).
int ScanItemCheckId(int index, std::int32_t osVersionCode);

}  // namespace corrivo
