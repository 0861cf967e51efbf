# The file VERSION at the top of the tree is the one place the version is written: the
# version resource, the manifest, the download's name and the program's own output all come
# from here, so a release never disagrees with itself.
file(STRINGS ${PROJECT_SOURCE_DIR}/VERSION CORRIVO_VERSION LIMIT_COUNT 1)
string(STRIP "${CORRIVO_VERSION}" CORRIVO_VERSION)
# A version resource holds four 16-bit numbers; anything else would be cut short silently.
if(NOT CORRIVO_VERSION MATCHES "^(0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)$")
  message(FATAL_ERROR "VERSION must read MAJOR.MINOR.PATCH (for example 1.0.0), not '${CORRIVO_VERSION}'")
endif()
set(CORRIVO_VERSION_MAJOR ${CMAKE_MATCH_1})
set(CORRIVO_VERSION_MINOR ${CMAKE_MATCH_2})
set(CORRIVO_VERSION_PATCH ${CMAKE_MATCH_3})
foreach(part MAJOR MINOR PATCH)
  if(CORRIVO_VERSION_${part} GREATER 65535)
    message(FATAL_ERROR "VERSION: each number must be at most 65535 to fit the version resource")
  endif()
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/VERSION)

# Every target sees corrivo_version.h (CORRIVO_VERSION and friends), including the resource
# compiler, which reads it through the same include path.
set(CORRIVO_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/corrivo_version.h.in ${CORRIVO_GENERATED_DIR}/corrivo_version.h @ONLY)
target_include_directories(corrivo_flags INTERFACE ${CORRIVO_GENERATED_DIR})
