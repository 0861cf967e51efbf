# Compiler flags shared by every target of the project.
add_library(corrivo_flags INTERFACE)
target_compile_options(corrivo_flags INTERFACE -Wall -Wextra -Wno-unused-parameter)
target_include_directories(corrivo_flags INTERFACE ${PROJECT_SOURCE_DIR})

if(WIN32)
  # XP SP3 is the oldest system we run on: keep every header at that level.
  target_compile_definitions(corrivo_flags INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
  target_link_options(corrivo_flags INTERFACE -static)
  # For the program itself (its entry point is wWinMain).
  set(CORRIVO_XP_LINK_FLAGS -municode
    -Wl,--major-subsystem-version,5,--minor-subsystem-version,1,--major-os-version,5,--minor-os-version,1)
  # A download must be rebuildable byte for byte from its commit (scripts/test-dist checks
  # it): no link time in the PE header, and no trace of the folders the tree and the build
  # happened to be in. The build folder's map comes last so it wins when it lies inside the
  # tree. Debug builds keep real paths and symbols for the debugger.
  target_link_options(corrivo_flags INTERFACE -Wl,--no-insert-timestamp $<$<NOT:$<CONFIG:Debug>>:-s>)
  target_compile_options(corrivo_flags INTERFACE
    $<$<NOT:$<CONFIG:Debug>>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>
    $<$<NOT:$<CONFIG:Debug>>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=build>)
  include(${CMAKE_CURRENT_LIST_DIR}/CorrivoDist.cmake)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/CorrivoVersion.cmake)

# Adds a static library of one layer: portable sources always, Win32 sources on Windows,
# the Linux stand-ins elsewhere.
function(corrivo_layer name)
  cmake_parse_arguments(L "" "" "PORTABLE;WIN32_SOURCES;HOST_SOURCES;DEPS;WIN32_LIBS" ${ARGN})
  set(srcs ${L_PORTABLE})
  if(WIN32)
    list(APPEND srcs ${L_WIN32_SOURCES})
  else()
    list(APPEND srcs ${L_HOST_SOURCES})
  endif()
  if(NOT srcs)
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE corrivo_flags ${L_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_link_libraries(${name} PUBLIC corrivo_flags ${L_DEPS})
  if(WIN32 AND L_WIN32_LIBS)
    target_link_libraries(${name} PUBLIC ${L_WIN32_LIBS})
  endif()
endfunction()
