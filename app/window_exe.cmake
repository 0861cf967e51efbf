# The Corrivo executable: the window, its resources and the entry point (Windows only).
enable_language(RC)
add_executable(Corrivo WIN32
  ${CMAKE_CURRENT_LIST_DIR}/win32/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/main_window_build.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/main_window_advanced.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/main_window_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/main_window_pages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/engine_pages_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/window_components.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/skin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/lean_runtime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/resources/corrivo.rc)
# resources/corrivo.manifest stays a complete manifest of its own (a GUI test links it as it
# is); the program's copy, found by windres on the include path, carries the version from
# VERSION.
set(corrivo_manifest_in ${CMAKE_CURRENT_LIST_DIR}/resources/corrivo.manifest)
file(READ ${corrivo_manifest_in} corrivo_manifest)
set(corrivo_identity "(<assemblyIdentity[^>]*name=\"Tarsio\\.Corrivo\"[^>]*version=\")[0-9.]+\"")
if(NOT corrivo_manifest MATCHES "${corrivo_identity}")
  message(FATAL_ERROR "${corrivo_manifest_in}: no version attribute of Tarsio.Corrivo to set")
endif()
string(REGEX REPLACE "${corrivo_identity}" "\\1${CORRIVO_VERSION}.0\"" corrivo_manifest "${corrivo_manifest}")
file(CONFIGURE OUTPUT ${CORRIVO_GENERATED_DIR}/Corrivo.exe.manifest CONTENT "${corrivo_manifest}" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${corrivo_manifest_in})
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/resources/corrivo.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/resources/corrivo.ico;${CORRIVO_GENERATED_DIR}/Corrivo.exe.manifest;${CORRIVO_GENERATED_DIR}/corrivo_version.h")
target_link_libraries(Corrivo PRIVATE
  corrivo_window_logic corrivo_widgets corrivo_language corrivo_engine corrivo_catalog corrivo_sysaccess
  comctl32 gdi32 user32)
# Two threads, neither deep: half a megabyte of stack each is plenty and keeps memory low.
target_link_options(Corrivo PRIVATE ${CORRIVO_XP_LINK_FLAGS} -mwindows -Wl,--stack,524288)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set_target_properties(Corrivo PROPERTIES OUTPUT_NAME Corrivo64)
endif()
