# Tests of the catalogue's core and of repairs 101-310.
set(CORE_TEST_SUPPORT
  ${CMAKE_CURRENT_LIST_DIR}/fake_special_backend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/repairs_effects.cpp)

# Plans, executor, table and dispatcher: portable, also run under Wine against the memory
# registry.
corrivo_add_test(catalog_core_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/executor_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/catalog_table_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dispatch_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/all_repairs_test.cpp
    ${CORE_TEST_SUPPORT}
  LIBS corrivo_catalog
  LABELS catalog)

# Groups 1-3 and the special steps set folders and environment of the Linux stand-in platform.
corrivo_add_test(catalog_groups123_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/group1_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/group2_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/group3_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/special_steps_test.cpp
    ${CORE_TEST_SUPPORT}
  LIBS corrivo_catalog
  LABELS catalog
  HOST_ONLY)
