# The Corrivo executable: the window, its resources and the entry point (Windows only).
enable_language(RC)
set(CORRIVO_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
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
  ${CMAKE_CURRENT_LIST_DIR}/resources/corrivo.rc)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/corrivo_version.h.in
  "#define CORRIVO_VERSION_COMMAS @CORRIVO_VERSION_COMMAS@\n#define CORRIVO_VERSION_TEXT \"@PROJECT_VERSION@\"\n")
configure_file(${CMAKE_CURRENT_BINARY_DIR}/corrivo_version.h.in ${CMAKE_CURRENT_BINARY_DIR}/corrivo_version.h @ONLY)
target_include_directories(Corrivo PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/resources/corrivo.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/resources/corrivo.ico;${CMAKE_CURRENT_LIST_DIR}/resources/corrivo.manifest")
target_link_libraries(Corrivo PRIVATE
  corrivo_window_logic corrivo_widgets corrivo_language corrivo_engine corrivo_catalog corrivo_sysaccess
  comctl32 gdi32 msimg32 user32)
# Two threads, neither deep: half a megabyte of stack each is plenty and keeps memory low.
target_link_options(Corrivo PRIVATE ${CORRIVO_XP_LINK_FLAGS} -mwindows -Wl,--stack,524288)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set_target_properties(Corrivo PROPERTIES OUTPUT_NAME Corrivo64)
endif()
