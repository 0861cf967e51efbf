// Prints the catalogue, or the plan of one repair for a Windows version code and Internet
// Explorer name:  catalog_list            (every ID with its place, argument and check)
//                 catalog_list 107 3      (Fix107 on Windows 7)
//                 catalog_list 205 0 IE9
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
    corrivo::FixArgs args;
    args.osVersionCode = argc > 2 ? std::atoi(argv[2]) : 3;
    if (argc > 3) args.ieVersionName = corrivo::Utf8ToWide(argv[3]);
    text = corrivo::DescribeFix(std::atoi(argv[1]), args);
  }
  std::fputs(corrivo::WideToUtf8(text).c_str(), stdout);
  return 0;
}
