# Tests of repairs 401-702 and the hosts file.
set(REPAIRS_TEST_SUPPORT ${CMAKE_CURRENT_LIST_DIR}/repairs_effects.cpp)
foreach(group 4 5 6 7)
  if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/group${group}_test.cpp)
    corrivo_add_test(catalog_group${group}_test
      SOURCES ${CMAKE_CURRENT_LIST_DIR}/group${group}_test.cpp ${REPAIRS_TEST_SUPPORT}
      LIBS corrivo_catalog
      LABELS catalog)
  endif()
endforeach()
