// Supplied by each platform's test program for the shared contract tests.
#pragma once

#include "sysaccess/operating_system.h"

namespace corrivo::testing {

// An operating system that knows CorrivoProbe as "C:\Probe" and nothing named
// CorrivoNoSuchName: the real one under Wine, the stand-in on Linux.
OperatingSystem& OperatingSystemWithProbe();

}  // namespace corrivo::testing
