#include "engine/scan_items.h"

#include "catalog/catalog.h"

namespace corrivo {
namespace {

const Repair* ItemRepair(int index) {
  const auto& scanned = ScannedRepairs();
  if (index < 0 || index >= static_cast<int>(scanned.size())) return nullptr;
  return scanned[static_cast<std::size_t>(index)];
}

}  // namespace

bool IsScanItemIndex(int index) { return index >= 0 && index < kScanItemCount && ItemRepair(index); }

int ScanItemFixId(int index) {
  const Repair* r = ItemRepair(index);
  return r ? r->id : 0;
}

const wchar_t* ScanItemDescription(int index) {
  const Repair* r = ItemRepair(index);
  return r ? r->scanText : L"";
}

bool ScanItemOffered(int index, WindowsVersion windows) {
  const Repair* r = ItemRepair(index);
  return r && r->scanOfferedOn.Contains(windows);
}

int ScanItemCheckId(int index, WindowsVersion windows) {
  const Repair* r = ItemRepair(index);
  return r && r->scanCheckedOn.Contains(windows) ? r->id : 0;
}

}  // namespace corrivo
