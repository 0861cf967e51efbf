// Prints the catalogue, or the plan of one repair for a Windows version and Internet Explorer
// name:  catalog_list            (every ID with its place, argument and check)
//        catalog_list 107 7      (Fix107 on Windows 7; xp, vista, 7 or 8)
//        catalog_list 205 xp IE9
#include <cstdio>
#include <cstdlib>
#include <string>

#include "catalog/catalog.h"
#include "sysaccess/text.h"

int main(int argc, char** argv) {
  std::wstring text;
  if (argc < 2) {
    text = corrivo::ListCatalog();
  } else {
    corrivo::RepairArgs args{corrivo::WindowsVersion::Seven, L"IE8"};
    if (argc > 2 && !corrivo::ParseVersionName(corrivo::Utf8ToWide(argv[2]), &args.windows)) {
      std::fprintf(stderr, "catalog_list: unknown Windows version %s (xp, vista, 7 or 8)\n", argv[2]);
      return 2;
    }
    if (argc > 3) args.ieVersionName = corrivo::Utf8ToWide(argv[3]);
    text = corrivo::DescribeRepair(std::atoi(argv[1]), args);
  }
  std::fputs(corrivo::WideToUtf8(text).c_str(), stdout);
  return 0;
}
