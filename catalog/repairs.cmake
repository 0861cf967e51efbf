# Groups 4-7 of the repairs and the hosts file.
list(APPEND CATALOG_PORTABLE
  ${CMAKE_CURRENT_LIST_DIR}/group4.cpp
  ${CMAKE_CURRENT_LIST_DIR}/group5.cpp
  ${CMAKE_CURRENT_LIST_DIR}/group6.cpp
  ${CMAKE_CURRENT_LIST_DIR}/group7.cpp)
