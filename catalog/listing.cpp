// Readable listings of the catalogue and of one repair's plan, for people and test messages.
#include <string>

#include "catalog/catalog.h"

namespace corrivo {
namespace {

const wchar_t* ArgumentName(FixArgument a) {
  switch (a) {
    case FixArgument::None: return L"-";
    case FixArgument::OsVersionCode: return L"OsVersionCode";
    case FixArgument::IEVersionName: return L"IEVersionName";
    case FixArgument::FalseFlag: return L"false";
  }
  return L"?";
}

const wchar_t* WindowsName(std::int32_t code) {
  switch (code) {
    case 0: return L"Windows XP";
    case 1: return L"Windows Vista";
    case 3: return L"Windows 7";
    case 6: return L"Windows 8";
    default: return L"unsupported Windows";
  }
}

std::wstring Padded(std::wstring text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), L' ');
  return text;
}

std::wstring Place(const CatalogEntry& e) {
  if (e.tab == FixTab::None) return L"no row";
  return std::wstring(TabCaption(e.tab)) + L" row " + std::to_wstring(e.row);
}

std::wstring ArgumentValue(int id, const FixArgs& args) {
  switch (FixArgumentOf(id)) {
    case FixArgument::OsVersionCode:
      return L"OsVersionCode " + std::to_wstring(args.osVersionCode) + L", " + WindowsName(args.osVersionCode);
    case FixArgument::IEVersionName: return L"IEVersionName \"" + args.ieVersionName + L"\"";
    case FixArgument::FalseFlag: return L"flag false";
    case FixArgument::None: break;
  }
  return L"no argument";
}

}  // namespace

std::wstring ListCatalog() {
  std::wstring out = L"Fix catalogue: " + std::to_wstring(Catalog().size()) + L" repairs\n";
  out += L"ID   Place                 Argument       Check  Caption\n";
  for (const CatalogEntry& e : Catalog()) {
    out += Padded(std::to_wstring(e.id), 5) + Padded(Place(e), 22) + Padded(ArgumentName(FixArgumentOf(e.id)), 15) +
           Padded(HasCheck(e.id) ? L"yes" : L"-", 7) + (e.caption ? e.caption : L"") + L"\n";
  }
  return out;
}

std::wstring DescribeFix(int id, const FixArgs& args) {
  const CatalogEntry* e = FindCatalogEntry(id);
  if (!e) return L"Fix" + std::to_wstring(id) + L": not in the catalogue\n";
  std::wstring out = L"Fix" + std::to_wstring(id) + L" (" + ArgumentValue(id, args) + L"), " + Place(*e) + L"\n";
  if (e->caption) out += L"  \"" + std::wstring(e->caption) + L"\"\n";
  out += DescribePlan(PlanFor(id, args));
  if (HasCheck(id)) {
    out += L"  Check" + std::to_wstring(id);
    if (CheckArgumentOf(id) == FixArgument::OsVersionCode) out += L" (OsVersionCode)";
    out += L": reads only; true when the problem is present\n";
  } else {
    out += L"  no check\n";
  }
  return out;
}

}  // namespace corrivo
