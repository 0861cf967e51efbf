// The two things of the console twin that only Windows has: its standard streams and the
// question whether this process holds administrator rights.
#pragma once

#include <cstdint>
#include <string_view>

#include "console/command_line.h"

namespace corrivo::console {

// A standard stream: wide text straight to a console window, UTF-8 with CRLF line ends to a
// file or pipe (what "corrivo list > list.txt" or a script reading the output gets).
class StdHandleSink : public TextSink {
 public:
  // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
  explicit StdHandleSink(std::uint32_t which);
  void Write(std::wstring_view text) override;

 private:
  void* handle_;
  bool console_;
};

// True when the process token holds the Administrators group enabled: an elevated process
// on Vista and later, an administrator's process on XP.
bool IsAdministrator();

}  // namespace corrivo::console
