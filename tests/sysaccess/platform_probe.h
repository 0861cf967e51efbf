// Supplied by each platform's test program for the shared contract tests.
#pragma once

#include <memory>

#include "sysaccess/operating_system.h"

namespace corrivo::testing {

// Knows CorrivoProbe as "C:\Probe" and nothing named CorrivoNoSuchName: the real operating
// system under Wine, the stand-in on Linux.
OperatingSystem& OperatingSystemWithProbe();

// Something at `path` that refuses to be replaced while the answer lives: a folder on Linux,
// a file another handle shares with nobody on Windows.
std::shared_ptr<void> BlockReplacement(const std::wstring& path);

}  // namespace corrivo::testing
