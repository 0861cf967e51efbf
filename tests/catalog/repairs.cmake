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

# Under Wine: the real hosts file and registry of a throw-away prefix, since 701 rewrites the
# prefix's hosts file and 503 ends every "explorer.exe" of the prefix.
if(WIN32)
  add_executable(corrivo_fake_explorer ${CMAKE_CURRENT_LIST_DIR}/fake_explorer.cpp)
  target_link_libraries(corrivo_fake_explorer PRIVATE corrivo_flags)
  target_link_options(corrivo_fake_explorer PRIVATE -static)
  add_executable(catalog_repairs_wine_test ${CMAKE_CURRENT_LIST_DIR}/repairs_wine_test.cpp)
  target_link_libraries(catalog_repairs_wine_test PRIVATE corrivo_catalog corrivo_test_support GTest::gtest_main)
  target_link_options(catalog_repairs_wine_test PRIVATE -static)
  add_dependencies(catalog_repairs_wine_test corrivo_fake_explorer)
  add_test(NAME catalog_repairs_wine_test
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run --fresh $<TARGET_FILE:catalog_repairs_wine_test> --gtest_brief=1)
  set_tests_properties(catalog_repairs_wine_test PROPERTIES LABELS "catalog;wine" TIMEOUT 300)
endif()
