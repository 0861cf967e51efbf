# The INI store, the language object and the language settings.
corrivo_layer(corrivo_language
  PORTABLE
    ext_ini_file.cpp
    text_file.cpp
    language.cpp
    language_settings.cpp
  DEPS corrivo_sysaccess
  WIN32_LIBS kernel32)
