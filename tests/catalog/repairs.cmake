# Tests of repairs 401-702 and the hosts file.
set(REPAIRS_TEST_SUPPORT ${CMAKE_CURRENT_LIST_DIR}/repairs_effects.cpp)
# Groups 4-6 use only the memory registry, runner and clock: they run on both platforms.
foreach(group 4 5 6)
  corrivo_add_test(catalog_group${group}_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/group${group}_test.cpp ${REPAIRS_TEST_SUPPORT}
    LIBS corrivo_catalog
    LABELS catalog)
endforeach()
corrivo_add_test(catalog_hosts_text_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/hosts_file_test.cpp
  LIBS corrivo_catalog
  LABELS catalog)
# Group 7 puts its hosts file in a Windows folder of its own, which only the Linux platform allows.
corrivo_add_test(catalog_group7_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/group7_test.cpp ${REPAIRS_TEST_SUPPORT}
  LIBS corrivo_catalog
  LABELS catalog
  HOST_ONLY)
