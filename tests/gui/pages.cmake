# The General Fix and Fix Internet Explorer pages driven under Wine (Windows builds only).
if(WIN32 AND TARGET Corrivo)
  add_executable(pages_gui_test
    ${PROJECT_SOURCE_DIR}/tests/gui/pages_gui_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/gui/gui_driver.cpp
    ${PROJECT_SOURCE_DIR}/tests/gui/gui_main.cpp)
  target_compile_definitions(pages_gui_test PRIVATE CORRIVO_EXE_UNIX="$<TARGET_FILE:Corrivo>")
  target_link_libraries(pages_gui_test PRIVATE corrivo_sysaccess GTest::gtest comctl32 user32 gdi32)
  target_link_options(pages_gui_test PRIVATE -static)
  add_dependencies(pages_gui_test Corrivo)
  add_test(NAME pages_gui COMMAND ${PROJECT_SOURCE_DIR}/tests/gui/run-gui-test $<TARGET_FILE:pages_gui_test>
           "PagesGui.*" ${CMAKE_BINARY_DIR}/screenshots)
  set_tests_properties(pages_gui PROPERTIES LABELS "gui;wine" TIMEOUT 900 RUN_SERIAL TRUE)
endif()
