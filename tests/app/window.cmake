# The main window's portable rules.
corrivo_add_test(window_rules_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/layout_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/advanced_layout_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/navigation_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frame_rules_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/startup_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/creation_test.cpp
  LIBS corrivo_window_logic
  LABELS app window)
