# Program start and the main window. The window's rules are portable (corrivo_window_logic);
# the window itself, its resources and the entry point make the Corrivo executable.
corrivo_layer(corrivo_window_logic
  PORTABLE
    layout.cpp
    advanced_layout.cpp
    navigation.cpp
    frame_rules.cpp
    startup.cpp
    creation.cpp
  DEPS corrivo_widgets)

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/window_exe.cmake)
  # The window that stands for the program on the taskbar.
  target_sources(Corrivo PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win32/taskbar_window.cpp)
endif()
