// Which Internet Explorer the first-run repairs name: "IE8", "IE9" or "IE10".
#pragma once

#include <string>

#include "sysaccess/registry.h"

namespace corrivo {

// "IE10" when svcVersion starts with "10", "IE9" with "9.", else "IE8".
std::wstring IEVersionFromSvcVersion(const std::wstring& svcVersion);
// Reads svcVersion (native view) and names the version.
std::wstring DetectIEVersionName(const Registry& registry);

}  // namespace corrivo
