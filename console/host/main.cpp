// The Linux command: the catalogue's listings, plans and exports. The commands that act on a
// live Windows refuse here; the registry this build has is an empty one in memory.
#include <cstdio>
#include <string>
#include <vector>

#include "console/command_line.h"
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
    corrivo::console::CommandLineContext context{corrivo::PlatformSystem(), false, false, out, err};
    return corrivo::console::RunCommandLine(args, context);
  } catch (...) {
    return corrivo::console::kExitProblems;
  }
}
