// The 50 scan items of the General Fix page, by their index in its list. Each stands for one
// repair; its text, and the versions on which it is offered and checked, come from the
// repair's record.
#pragma once

#include "sysaccess/windows_version.h"

namespace corrivo {

constexpr int kScanItemCount = 50;

bool IsScanItemIndex(int index);
// The repair an item stands for; 0 outside 0..49.
int ScanItemFixId(int index);
// The item's text; empty outside 0..49.
const wchar_t* ScanItemDescription(int index);
// Whether a scan may list the item on this version; false outside 0..49.
bool ScanItemOffered(int index, WindowsVersion windows);
// The repair whose check decides the item on this version, or 0 when the item is taken as no
// problem without running anything (also outside 0..49).
int ScanItemCheckId(int index, WindowsVersion windows);

}  // namespace corrivo
