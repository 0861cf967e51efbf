# Under Wine: the catalogue against the real registry, files and processes of throw-away
# prefixes. Beside catalog_wine_test lie test builds of the home-page library, and the prefix's
# system folder gets a stand-in inetcpl.cpl (Wine's own ends the calling process). None of
# these libraries ships with the product.
set(pagelock_defs_accept "PAGELOCK_REPLY=L\"1\"" PAGELOCK_RESULT=TRUE)
set(pagelock_defs_refuse "PAGELOCK_REPLY=L\"0\"" PAGELOCK_RESULT=TRUE)
set(pagelock_defs_false "PAGELOCK_REPLY=L\"1\"" PAGELOCK_RESULT=FALSE)
set(pagelock_defs_nofunc PAGELOCK_NO_FUNC)
set(catalog_wine_modules)
foreach(variant accept refuse false nofunc)
  add_library(pagelock_${variant} MODULE ${PROJECT_SOURCE_DIR}/tests/wine/pagelock_stub.cpp)
  target_compile_definitions(pagelock_${variant} PRIVATE ${pagelock_defs_${variant}})
  list(APPEND catalog_wine_modules pagelock_${variant})
endforeach()
add_library(corrivo_inetcpl_standin MODULE ${PROJECT_SOURCE_DIR}/tests/wine/inetcpl_standin.cpp)
set_target_properties(corrivo_inetcpl_standin PROPERTIES OUTPUT_NAME inetcpl SUFFIX ".cpl"
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/standin)
foreach(module ${catalog_wine_modules} corrivo_inetcpl_standin)
  target_include_directories(${module} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_options(${module} PRIVATE -static -Wl,--kill-at)
  set_target_properties(${module} PROPERTIES PREFIX "")
endforeach()
set_target_properties(${catalog_wine_modules} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})

foreach(name catalog_wine_test repairs_wine_test journal_wine_test)
  add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
  target_link_libraries(${name} PRIVATE corrivo_catalog corrivo_test_support GTest::gtest_main)
  target_link_options(${name} PRIVATE -static)
endforeach()
add_dependencies(catalog_wine_test ${catalog_wine_modules} corrivo_inetcpl_standin)

add_test(NAME catalog_wine_test
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run --system-file $<TARGET_FILE:corrivo_inetcpl_standin>
          $<TARGET_FILE:catalog_wine_test> --gtest_brief=1)
# 701 rewrites the prefix's hosts file.
add_test(NAME catalog_repairs_wine_test
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run --fresh $<TARGET_FILE:repairs_wine_test> --gtest_brief=1)
# The undo journal: regedit /s and the program's own undo on the real registry.
add_test(NAME catalog_journal_wine_test
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run --fresh $<TARGET_FILE:journal_wine_test> --gtest_brief=1)
set_tests_properties(catalog_wine_test catalog_repairs_wine_test catalog_journal_wine_test PROPERTIES LABELS "catalog;wine" TIMEOUT 600)
# The desktop user Wine reports (a fresh prefix).
target_sources(repairs_wine_test PRIVATE ${CMAKE_CURRENT_LIST_DIR}/desktop_user_wine_test.cpp)
