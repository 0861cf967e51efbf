# The INI store, the language object and the language settings.
corrivo_layer(corrivo_language
  PORTABLE
    ext_ini_file.cpp
    text_file.cpp
    language.cpp
    language_settings.cpp
  WIN32_SOURCES
    win32/file_access.cpp
  HOST_SOURCES
    host/file_access.cpp
  DEPS corrivo_sysaccess
  WIN32_LIBS kernel32)
