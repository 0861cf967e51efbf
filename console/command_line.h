// `corrivo <command>`: the console twin of the window (Corrivo.com) and the Linux command,
// over the same catalogue. Everything here is portable; the entry points only build the
// context: the machine's services, whether they are the live machine, whether this process
// may change it, and where text goes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sysaccess/system.h"

namespace corrivo::console {

// The process exit codes, which scripts and %ERRORLEVEL% see.
enum ExitCode : int {
  kExitOk = 0,        // done; a scan that found nothing
  kExitProblems = 1,  // a scan found problems, a repair failed, a file could not be written
  kExitUsage = 2,     // the arguments are wrong (the usage goes to the error stream)
  kExitRefused = 3,   // understood but refused here: no administrator rights, an unsupported
                      // or absent Windows, a repair disabled on this version
};

class TextSink {
 public:
  virtual ~TextSink() = default;
  // Text with "\n" line ends; the sink makes of them what its device wants.
  virtual void Write(std::wstring_view text) = 0;
};

class StringSink : public TextSink {
 public:
  void Write(std::wstring_view text) override { text_.append(text); }
  const std::wstring& Text() const { return text_; }

 private:
  std::wstring text_;
};

struct CommandLineContext {
  System& system;
  // True when `system` is the Windows machine this runs on, so that scan, fix and preview
  // have something to act on; false for the Linux build.
  bool live;
  // Administrator rights: fix refuses to start without them.
  bool elevated;
  TextSink& out;
  TextSink& err;
  // Where fix and undo keep the undo journal and where journal and undo read it; null: there
  // is none here (journal and undo then refuse).
  const JournalPlace* journal = nullptr;
};

// Runs one command line (without the program's name); answers the exit code. Never throws.
int RunCommandLine(const std::vector<std::wstring>& args, CommandLineContext& context);

std::wstring UsageText();

}  // namespace corrivo::console
