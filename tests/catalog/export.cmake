# Previews and exports. The unit tests run against the memory system; the consumer checks give
# the exports to the programs that read them: ansible-playbook and ansible-lint on Linux,
# regedit and cmd.exe under Wine (scripts/check-exports). Included once, whoever includes it.
include_guard(GLOBAL)
corrivo_add_test(export_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/preview_test.cpp ${CMAKE_CURRENT_LIST_DIR}/export_test.cpp
  LIBS corrivo_catalog
  LABELS catalog
  HOST_ONLY)

if(NOT WIN32 AND NOT CORRIVO_TSAN_ONLY)
  add_executable(export_print ${CMAKE_CURRENT_LIST_DIR}/export_print.cpp)
  target_link_libraries(export_print PRIVATE corrivo_catalog corrivo_console)
  add_test(NAME export_ansible_check
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-exports ansible $<TARGET_FILE:export_print>)
  set_tests_properties(export_ansible_check PROPERTIES LABELS "catalog;ansible" TIMEOUT 300)
endif()

if(WIN32)
  add_executable(export_wine_probe ${CMAKE_CURRENT_LIST_DIR}/export_wine_probe.cpp)
  target_link_libraries(export_wine_probe PRIVATE corrivo_catalog corrivo_test_support)
  target_link_options(export_wine_probe PRIVATE -static -municode)
  add_test(NAME export_wine_check
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-exports wine $<TARGET_FILE:export_wine_probe>)
  set_tests_properties(export_wine_check PROPERTIES LABELS "catalog;wine" TIMEOUT 600)
endif()
