# Groups 4-7 of the repairs and the hosts file.
list(APPEND CATALOG_PORTABLE
  ${CMAKE_CURRENT_LIST_DIR}/group4.cpp
  ${CMAKE_CURRENT_LIST_DIR}/group5.cpp
  ${CMAKE_CURRENT_LIST_DIR}/group6.cpp
  ${CMAKE_CURRENT_LIST_DIR}/group7.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hosts_file.cpp)
list(APPEND CATALOG_WIN32
  ${CMAKE_CURRENT_LIST_DIR}/win32/hosts_platform_win32.cpp)
list(APPEND CATALOG_HOST
  ${CMAKE_CURRENT_LIST_DIR}/host/hosts_platform_host.cpp)
