# Checks that includes point only downward: the ground floor (addin/, host/,
# ui/, platform/) never reaches up into a tool, a front or the add-in library;
# platform/ includes nothing but itself; and the files of host/ depend on
# each other in one direction only. Run by ctest as layout_includes:
#   cmake -DSOURCE_DIR=<checkout> -P scripts/check_layout.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  get_filename_component(SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()

set(upper_folders checks codegen patterns project controls companion cli gui workbench toolkit lang)
list(JOIN upper_folders "|" upper_pattern)
# The one exception: the settings model holds the control tools' style
# records (the add-in's settings file keeps the style patterns).
set(allowed_upward "addin/settings.h -> controls/cotrol_style.h")

set(faults)

# The quoted includes of a file, as paths from the checkout's root.
function(read_includes file out)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  set(result)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" target "${line}")
    list(APPEND result "${target}")
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

foreach(folder addin host ui platform)
  file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    read_includes("${SOURCE_DIR}/${source}" includes)
    foreach(target IN LISTS includes)
      if(target MATCHES "^(${upper_pattern})/" AND NOT "${source} -> ${target}" IN_LIST allowed_upward)
        list(APPEND faults "${source} includes ${target}, a header of a layer above it")
      elseif(folder STREQUAL "platform" AND NOT target MATCHES "^platform/")
        list(APPEND faults "${source} includes ${target}, and platform/ includes only platform/")
      endif()
    endforeach()
  endforeach()
endforeach()

# host/: a file and its header are one unit; no unit may reach itself
# through the includes of host/ headers.
file(GLOB_RECURSE host_sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/host/*.h" "${SOURCE_DIR}/host/*.cpp")
set(units)
foreach(source IN LISTS host_sources)
  string(REGEX REPLACE "\\.(h|cpp)$" "" unit "${source}")
  string(MAKE_C_IDENTIFIER "${unit}" key)
  list(APPEND units "${unit}")
  read_includes("${SOURCE_DIR}/${source}" includes)
  foreach(target IN LISTS includes)
    if(target MATCHES "^host/")
      string(REGEX REPLACE "\\.h$" "" used "${target}")
      if(NOT used STREQUAL unit)
        list(APPEND uses_${key} "${used}")
      endif()
    endif()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES units)

foreach(unit IN LISTS units)
  string(MAKE_C_IDENTIFIER "${unit}" key)
  set(reached)
  set(frontier ${uses_${key}})
  while(frontier)
    list(POP_FRONT frontier next)
    if(next IN_LIST reached)
      continue()
    endif()
    list(APPEND reached "${next}")
    string(MAKE_C_IDENTIFIER "${next}" next_key)
    list(APPEND frontier ${uses_${next_key}})
  endwhile()
  if(unit IN_LIST reached)
    list(JOIN uses_${key} ", " used)
    list(APPEND faults "${unit} reaches itself through the includes of host/ (it uses ${used})")
  endif()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes that point the wrong way:\n  ${text}")
endif()
message(STATUS "layout: includes point downward")
