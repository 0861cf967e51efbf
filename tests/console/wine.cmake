# Under Wine: the console twin started from cmd.exe in a throw-away prefix (the fixes change
# its registry), its refusal of a Windows it does not support, and its live JSON read back.
add_executable(console_wine_test ${CMAKE_CURRENT_LIST_DIR}/console_wine_test.cpp)
target_link_libraries(console_wine_test PRIVATE corrivo_catalog corrivo_test_support GTest::gtest_main)
target_link_options(console_wine_test PRIVATE -static)
add_dependencies(console_wine_test CorrivoConsole)

set(wine_run ${PROJECT_SOURCE_DIR}/scripts/wine-run)
add_test(NAME console_wine_test
  COMMAND ${wine_run} --fresh $<TARGET_FILE:console_wine_test> --gtest_brief=1)

add_test(NAME console_wine_unsupported
  COMMAND sh -c "\"$0\" --version win2008 \"$1\" scan; test $? -eq 3" ${wine_run} $<TARGET_FILE:CorrivoConsole>)
add_test(NAME console_wine_json_lines
  COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/check-json-lines --live ${wine_run} --fresh $<TARGET_FILE:CorrivoConsole>)
set_tests_properties(console_wine_test console_wine_unsupported console_wine_json_lines
  PROPERTIES LABELS "console;wine" TIMEOUT 600 ENVIRONMENT "CORRIVO_CONSOLE=$<TARGET_FILE:CorrivoConsole>")
