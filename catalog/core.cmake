# The catalogue's core: plans, the executor, the table, the dispatcher and groups 1-3.
list(APPEND CATALOG_PORTABLE
  ${CMAKE_CURRENT_LIST_DIR}/plan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/executor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/catalog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/listing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fixes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dispatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/step_backend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/group1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/group2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/group3.cpp)
list(APPEND CATALOG_WIN32
  ${CMAKE_CURRENT_LIST_DIR}/win32/win32_step_backend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32/win32_dispatch_effects.cpp)
list(APPEND CATALOG_HOST
  ${CMAKE_CURRENT_LIST_DIR}/host/host_step_backend.cpp)
list(APPEND CATALOG_WIN32_LIBS shell32 ole32 uuid user32)
