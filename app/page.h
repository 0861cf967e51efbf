// The window's four pages, in the order of their header tiles and notebook tabs.
#pragma once

namespace corrivo {

enum class Page { GeneralFix = 0, AdvancedFix = 1, InternetExplorer = 2, MediaPlayer = 3 };

}  // namespace corrivo
