# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# One static library per layer of app/, linked along the arrows of cmake/LayerArrows.cmake.
include(${CMAKE_CURRENT_LIST_DIR}/LayerArrows.cmake)

# jabbly_add_layer(layer SOURCES ... [LINKS ...]): the library jabbly_<layer> from the
# sources of app/<layer>/, linking the contracts, the layers it builds on and LINKS.
#
# Sources include headers by folder ("conversation/Turn.h"). Each layer's include root
# (under the build folder) holds its own folder only, so a layer's headers are found by
# the targets that link it and by no other: the compiler rejects an include that runs up.
function(jabbly_add_layer layer)
  cmake_parse_arguments(L "" "" "SOURCES;LINKS" ${ARGN})
  if(NOT layer IN_LIST JABBLY_LAYERS)
    message(FATAL_ERROR "app/${layer} is no layer: add it and its arrows to cmake/LayerArrows.cmake")
  endif()
  set(target jabbly_${layer})
  add_library(${target} STATIC ${L_SOURCES})
  set(root ${CMAKE_BINARY_DIR}/layers/${layer})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${layer} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
  set(uses jabbly_contracts jabbly_version)
  foreach(lower IN LISTS JABBLY_LAYER_USES_${layer})
    list(APPEND uses jabbly_${lower})
  endforeach()
  target_link_libraries(${target} PUBLIC ${uses} ${L_LINKS})
endfunction()
