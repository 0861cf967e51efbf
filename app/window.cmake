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
  include(${CMAKE_CURRENT_LIST_DIR}/window_exe.cmake OPTIONAL RESULT_VARIABLE corrivo_window_exe)
  if(NOT corrivo_window_exe)
    add_executable(Corrivo WIN32 win32/main.cpp)
    target_link_libraries(Corrivo PRIVATE corrivo_sysaccess)
    target_link_options(Corrivo PRIVATE ${CORRIVO_XP_LINK_FLAGS} -mwindows)
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
      set_target_properties(Corrivo PROPERTIES OUTPUT_NAME Corrivo64)
    endif()
  endif()
endif()
