# Tests of the INI store, the language object, the language settings and the shipped files.
corrivo_add_test(language_test
  SOURCES language_test.cpp
  LIBS corrivo_language corrivo_catalog corrivo_window_logic)
# The platform's INI reader and file functions, under Wine.
corrivo_add_test(language_settings_win32_test
  SOURCES language_settings_win32_test.cpp
  LIBS corrivo_language
  WINE_ONLY)
