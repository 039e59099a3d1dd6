# The layers point one way: common <- measures, standard <- analysis, ecg <- report <- cli, ui;
# about beside ui, which uses it. Run as `cmake -DSOURCE_DIR=... -P check_layers.cmake`; fails
# naming every include that points the wrong way:
# - no file outside src/ui and src/about includes Qt, ui/ or about/;
# - src/about includes nothing of src/ui;
# - a file of a ranked folder includes no folder ranked above it.
set(ranks common measures standard analysis ecg report cli)
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*.h"
     "${SOURCE_DIR}/src/*.cpp")
set(faults "")
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" folder "${source}")
  list(FIND ranks "${folder}" rank)
  file(STRINGS "${SOURCE_DIR}/src/${source}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    string(REGEX MATCH "[<\"]([^>\"]+)[>\"]" found "${line}")
    set(target "${CMAKE_MATCH_1}")
    string(REGEX MATCH "^[^/]+" target_folder "${target}")
    list(FIND ranks "${target_folder}" target_rank)
    if(NOT folder MATCHES "^(ui|about)$" AND target MATCHES "^(Q|qt|ui/|about/)")
      list(APPEND faults "${source}: ${target} (Qt and the window stay in ui/ and about/)")
    elseif(folder STREQUAL "about" AND target MATCHES "^ui/")
      list(APPEND faults "${source}: ${target} (about/ is used by ui/, not the other way)")
    elseif(rank GREATER -1 AND target_rank GREATER rank)
      list(APPEND faults "${source}: ${target} (${folder}/ is below ${target_folder}/)")
    endif()
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes that point the wrong way:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files: every include points one way")
