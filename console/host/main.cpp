// The Linux command: the catalogue's listings, plans and exports. The commands that act on a
// live Windows refuse here; the registry this build has is an empty one in memory. With
// --offline they act on the hives of a Windows mounted from a disk.
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <string>
#include <vector>

#include "console/command_line.h"
#include "console/offline/offline_command.h"
#include "sysaccess/text.h"

namespace {

class FileSink : public corrivo::console::TextSink {
 public:
  explicit FileSink(std::FILE* file) : file_(file) {}
  void Write(std::wstring_view text) override {
    const std::string bytes = corrivo::WideToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), file_);
    std::fflush(file_);
  }

 private:
  std::FILE* file_;
};

}  // namespace

int main(int argc, char** argv) {
  try {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.push_back(corrivo::Utf8ToWide(argv[i]));
    FileSink out(stdout), err(stderr);
    if (corrivo::console::IsOfflineLine(args)) {
      const char* home = std::getenv("HOME");
      corrivo::console::OfflineContext offline{
          out, err, home && *home ? corrivo::Utf8ToWide(home) + L"/.local/share/corrivo/journal" : L""};
      return corrivo::console::RunOfflineCommandLine(args, offline);
    }
    corrivo::console::CommandLineContext context{corrivo::PlatformSystem(), false, false, out, err};
    const int code = corrivo::console::RunCommandLine(args, context);
    for (const auto& arg : args) {
      if ((arg == L"--help" || arg == L"/?") && code == 0 && std::find(args.begin(), args.end(), L"--json") == args.end()) {
        out.Write(L"\n" + corrivo::console::OfflineUsageText());
        break;
      }
    }
    return code;
  } catch (...) {
    return corrivo::console::kExitProblems;
  }
}
