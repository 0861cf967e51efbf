// Readable listings of the catalogue and of one repair's plan, for people and test messages.
#include <string>

#include "catalog/catalog.h"

namespace corrivo {
namespace {

const wchar_t* ArgumentName(RepairArgument a) {
  switch (a) {
    case RepairArgument::None: return L"-";
    case RepairArgument::WindowsVersion: return L"Windows";
    case RepairArgument::IEVersionName: return L"IE version";
  }
  return L"?";
}

std::wstring Padded(std::wstring text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), L' ');
  return text;
}

std::wstring Place(const Repair& r) {
  if (r.category == Category::None) return L"no row";
  return std::wstring(CategoryCaption(r.category)) + L" row " + std::to_wstring(r.row);
}

std::wstring ArgumentValue(const Repair& r, const RepairArgs& args) {
  switch (r.argument) {
    case RepairArgument::WindowsVersion: return std::wstring(L"Windows ") + VersionName(args.windows);
    case RepairArgument::IEVersionName: return L"Internet Explorer \"" + args.ieVersionName + L"\"";
    case RepairArgument::None: break;
  }
  return L"no argument";
}

}  // namespace

std::wstring ListCatalog() {
  std::wstring out = L"Fix catalogue: " + std::to_wstring(Repairs().size()) + L" repairs\n";
  out += L"ID   Place                 Argument    Check  Caption\n";
  for (const Repair& r : Repairs()) {
    out += Padded(std::to_wstring(r.id), 5) + Padded(Place(r), 22) + Padded(ArgumentName(r.argument), 12) +
           Padded(r.check ? L"yes" : L"-", 7) + (r.caption ? r.caption : L"") + L"\n";
  }
  return out;
}

std::wstring DescribeRepair(int id, const RepairArgs& args) {
  const Repair* r = FindRepair(id);
  if (!r) return L"Fix" + std::to_wstring(id) + L": not in the catalogue\n";
  std::wstring out = L"Fix" + std::to_wstring(id) + L" (" + ArgumentValue(*r, args) + L"), " + Place(*r) + L"\n";
  if (r->caption) out += L"  \"" + std::wstring(r->caption) + L"\"\n";
  out += DescribePlan(r->plan(args));
  out += r->check ? L"  check: reads only; true when the problem is present\n" : L"  no check\n";
  return out;
}

}  // namespace corrivo
