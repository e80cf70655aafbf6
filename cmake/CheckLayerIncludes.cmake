# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE_DIR=<tree> -P CheckLayerIncludes.cmake
#
# Reads every source of <tree>/app against the arrows of LayerArrows.cmake and fails
# naming each include that runs up or sideways: a source in app/<layer>/ may include,
# between quotes, only "<layer>/..." for its own layer or a layer below it, and
# "jabbly/..." (the contracts in include/). Headers of the program are always named by
# their folder, so an include without one fails too. Every folder of app/ must be a
# layer. app/main.cpp may include any layer.
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<source tree> -P CheckLayerIncludes.cmake")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/LayerArrows.cmake)

set(problems "")
file(GLOB folders LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR}/app ${SOURCE_DIR}/app/*)
foreach(folder IN LISTS folders)
  if(IS_DIRECTORY ${SOURCE_DIR}/app/${folder} AND NOT folder IN_LIST JABBLY_LAYERS)
    list(APPEND problems "app/${folder}/ is no layer: add it and its arrows to cmake/LayerArrows.cmake")
  endif()
endforeach()

# check_includes(file allowed...): the quoted includes of `file` against the layers allowed.
function(check_includes file)
  set(allowed ${ARGN})
  file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
    if(header MATCHES "^([^/]+)/[^/.][^/]*(/[^/.][^/]*)*$")
      set(folder ${CMAKE_MATCH_1})
      if(folder STREQUAL "jabbly" OR folder IN_LIST allowed OR folder IN_LIST JABBLY_HELPER_LIBRARIES)
        continue()
      endif()
      list(APPEND problems "${file}: #include \"${header}\" reaches a layer it does not build on")
    elseif(header MATCHES "^moc_.*\\.cpp$|\\.moc$")
      continue()
    else()
      list(APPEND problems "${file}: #include \"${header}\" does not name a layer's folder")
    endif()
  endforeach()
  set(problems ${problems} PARENT_SCOPE)
endfunction()

foreach(layer IN LISTS JABBLY_LAYERS)
  jabbly_layers_below(${layer} below)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/app/${layer}/*.h ${SOURCE_DIR}/app/${layer}/*.cpp)
  foreach(source IN LISTS sources)
    check_includes(${source} ${layer} ${below})
  endforeach()
endforeach()
file(GLOB top RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/app/*.h ${SOURCE_DIR}/app/*.cpp)
foreach(source IN LISTS top)
  check_includes(${source} ${JABBLY_LAYERS})
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Includes against the layers' arrows (cmake/LayerArrows.cmake):\n  ${text}")
endif()
