# The main window's portable rules.
corrivo_add_test(window_rules_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/layout_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_rules_test.cpp
  LIBS corrivo_window_logic
  LABELS app window)

# The window driven through its controls under Wine (Windows builds only). Each entry runs in a
# fresh prefix; screenshots land in <build>/screenshots.
if(WIN32 AND TARGET Corrivo)
  add_executable(window_gui_test
    ${PROJECT_SOURCE_DIR}/tests/gui/window_gui_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/gui/gui_main.cpp
    ${PROJECT_SOURCE_DIR}/tests/gui/gui_driver.cpp)
  target_compile_definitions(window_gui_test PRIVATE CORRIVO_EXE_UNIX="$<TARGET_FILE:Corrivo>")
  target_link_libraries(window_gui_test PRIVATE corrivo_catalog corrivo_sysaccess GTest::gtest comctl32 user32 gdi32)
  target_link_options(window_gui_test PRIVATE -static)
  add_dependencies(window_gui_test Corrivo)
  set(gui_run ${PROJECT_SOURCE_DIR}/tests/gui/run-gui-test)
  set(gui_shots ${CMAKE_BINARY_DIR}/screenshots)
  add_test(NAME window_gui COMMAND ${gui_run} $<TARGET_FILE:window_gui_test> "WindowGui*" ${gui_shots})
  add_test(NAME window_gui_winxp COMMAND ${gui_run} --version winxp64 $<TARGET_FILE:window_gui_test>
           "VersionGui.TwelveFixesDisabledOnWindowsXP" ${gui_shots})
  add_test(NAME window_gui_vista COMMAND ${gui_run} --version vista $<TARGET_FILE:window_gui_test>
           "VersionGui.SixFixesDisabledOnWindowsVista" ${gui_shots})
  add_test(NAME window_gui_refused COMMAND ${gui_run} --version win2008 $<TARGET_FILE:window_gui_test>
           "RefusedGui.*" ${gui_shots})
  set_tests_properties(window_gui window_gui_winxp window_gui_vista window_gui_refused PROPERTIES
    LABELS "gui;wine" TIMEOUT 600 RUN_SERIAL TRUE)
endif()

# Start-up figures against a minimal window program built the same way (bench/measure-start).
if(WIN32 AND TARGET Corrivo)
  add_executable(minimal_window WIN32 ${PROJECT_SOURCE_DIR}/bench/minimal_window.cpp)
  target_link_libraries(minimal_window PRIVATE corrivo_flags)
  target_link_options(minimal_window PRIVATE ${CORRIVO_XP_LINK_FLAGS} -mwindows -static)
  # The same, loading the system libraries Corrivo loads (with its manifest), as a second yardstick.
  add_executable(minimal_window_deps WIN32 ${PROJECT_SOURCE_DIR}/bench/minimal_window.cpp
                 ${PROJECT_SOURCE_DIR}/bench/minimal_window_deps.rc)
  target_compile_definitions(minimal_window_deps PRIVATE CORRIVO_MINIMAL_WITH_DEPS)
  target_link_libraries(minimal_window_deps PRIVATE corrivo_flags comctl32 ole32 shell32 advapi32)
  target_link_options(minimal_window_deps PRIVATE ${CORRIVO_XP_LINK_FLAGS} -mwindows -static)
  add_executable(start_bench ${PROJECT_SOURCE_DIR}/bench/start_bench.cpp ${PROJECT_SOURCE_DIR}/tests/gui/gui_driver.cpp)
  target_compile_definitions(start_bench PRIVATE CORRIVO_EXE_UNIX="$<TARGET_FILE:Corrivo>")
  target_link_libraries(start_bench PRIVATE corrivo_flags psapi user32 gdi32)
  target_link_options(start_bench PRIVATE -static -municode)
endif()
