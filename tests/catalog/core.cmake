# Tests of the catalogue's core and of repairs 101-310.
set(CORE_TEST_SUPPORT
  ${CMAKE_CURRENT_LIST_DIR}/fake_step_backend.cpp
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
    ${CMAKE_CURRENT_LIST_DIR}/step_backend_test.cpp
    ${CORE_TEST_SUPPORT}
  LIBS corrivo_catalog
  LABELS catalog
  HOST_ONLY)

# Under Wine: every repair against the real registry of a throw-away prefix, with test builds of
# the home-page component beside the test program and a stand-in inetcpl.cpl in the prefix's
# system folder. None of these libraries is part of the product.
if(WIN32)
  set(pagelock_variants accept refuse false nofunc)
  set(pagelock_defs_accept "PAGELOCK_REPLY=L\"1\"" PAGELOCK_RESULT=TRUE)
  set(pagelock_defs_refuse "PAGELOCK_REPLY=L\"0\"" PAGELOCK_RESULT=TRUE)
  set(pagelock_defs_false "PAGELOCK_REPLY=L\"1\"" PAGELOCK_RESULT=FALSE)
  set(pagelock_defs_nofunc PAGELOCK_NO_FUNC)
  set(catalog_wine_libraries)
  foreach(variant ${pagelock_variants})
    add_library(pagelock_${variant} MODULE ${PROJECT_SOURCE_DIR}/tests/wine/pagelock_stub.cpp)
    target_include_directories(pagelock_${variant} PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_definitions(pagelock_${variant} PRIVATE ${pagelock_defs_${variant}})
    target_link_options(pagelock_${variant} PRIVATE -static -Wl,--kill-at)
    set_target_properties(pagelock_${variant} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    list(APPEND catalog_wine_libraries pagelock_${variant})
  endforeach()
  add_library(corrivo_inetcpl_standin MODULE ${PROJECT_SOURCE_DIR}/tests/wine/inetcpl_standin.cpp)
  target_include_directories(corrivo_inetcpl_standin PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_options(corrivo_inetcpl_standin PRIVATE -static -Wl,--kill-at)
  set_target_properties(corrivo_inetcpl_standin PROPERTIES PREFIX "" OUTPUT_NAME inetcpl SUFFIX ".cpl"
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/standin)

  add_executable(catalog_wine_test ${CMAKE_CURRENT_LIST_DIR}/catalog_wine_test.cpp)
  target_link_libraries(catalog_wine_test PRIVATE corrivo_catalog corrivo_test_support GTest::gtest_main)
  target_link_options(catalog_wine_test PRIVATE -static)
  add_dependencies(catalog_wine_test ${catalog_wine_libraries} corrivo_inetcpl_standin)
  add_test(NAME catalog_wine_test
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run --xvfb
            --system-file $<TARGET_FILE:corrivo_inetcpl_standin>
            $<TARGET_FILE:catalog_wine_test> --gtest_brief=1)
  set_tests_properties(catalog_wine_test PROPERTIES LABELS "catalog;wine" TIMEOUT 600)
endif()
