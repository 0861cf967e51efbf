# Tests of the INI store, the language object and the shipped language files.
corrivo_add_test(ini_file_test
  SOURCES ini_file_test.cpp ini_text_test.cpp
  LIBS corrivo_language)
corrivo_add_test(language_test
  SOURCES language_test.cpp language_translate_test.cpp
  LIBS corrivo_language)
# Chooses the folders of the Linux stand-in platform.
corrivo_add_test(language_settings_test
  SOURCES language_settings_test.cpp
  LIBS corrivo_language
  HOST_ONLY)
corrivo_add_test(language_files_test
  SOURCES language_files_test.cpp
  LIBS corrivo_language corrivo_catalog)
# The platform's INI reader and file functions, under Wine.
corrivo_add_test(language_settings_win32_test
  SOURCES language_settings_win32_test.cpp
  LIBS corrivo_language
  WINE_ONLY)
