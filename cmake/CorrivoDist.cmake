# Lists the programs that go into the download, for scripts/dist: the targets whose file is
# Corrivo.exe or Corrivo.com, one "target<TAB>path" line each. They are found by the file
# name users see, so a console twin is picked up whatever its target is called or wherever
# it is defined, and the dist build compiles nothing else.
set(CORRIVO_DIST_PROGRAMS Corrivo.exe Corrivo.com)

function(corrivo_collect_executables dir out)
  set(found "")
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "EXECUTABLE")
      list(APPEND found ${t})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    corrivo_collect_executables(${sub} below)
    list(APPEND found ${below})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(corrivo_write_dist_programs)
  corrivo_collect_executables(${PROJECT_SOURCE_DIR} executables)
  set(lines "")
  foreach(t IN LISTS executables)
    string(APPEND lines
      "$<$<IN_LIST:$<TARGET_FILE_NAME:${t}>,${CORRIVO_DIST_PROGRAMS}>:${t}\t$<TARGET_FILE:${t}>\n>")
  endforeach()
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/dist-programs.txt CONTENT "${lines}")
endfunction()

# Runs once every directory has defined its targets.
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL corrivo_write_dist_programs)
