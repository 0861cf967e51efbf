// Supplied by each platform's test program for the shared contract tests.
#pragma once

#include <memory>
#include <string>

#include "sysaccess/operating_system.h"

namespace corrivo::testing {

// An operating system that knows CorrivoProbe as "C:\Probe" and nothing named
// CorrivoNoSuchName: the real one under Wine, the stand-in on Linux.
OperatingSystem& OperatingSystemWithProbe();

// Stages a file at `path` that cannot be replaced while the answer lives, the way each system
// refuses it: a folder by that name on Linux, a file that another handle shares with nobody on
// Windows.
std::shared_ptr<void> BlockReplacement(const std::wstring& path);

}  // namespace corrivo::testing
