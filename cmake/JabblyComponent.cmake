# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# jabbly_add_component(Name SOURCES ...): a component library loaded by the program at run
# time. It links only the contracts and Qt Core, and exports nothing but its factory
# (listed in Name.map beside its sources).
function(jabbly_add_component name)
  cmake_parse_arguments(C "" "" "SOURCES" ${ARGN})
  add_library(${name} SHARED ${C_SOURCES})
  set_target_properties(${name} PROPERTIES
    OUTPUT_NAME ${name}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    AUTOMOC OFF
    INSTALL_RPATH "$ORIGIN")
  target_link_libraries(${name} PRIVATE jabbly_contracts Qt6::Core)
  target_compile_definitions(${name} PRIVATE ${JABBLY_QT_HYGIENE})
  # Hidden visibility still lets the standard library's template instances out; the
  # version script keeps the exported surface to the factory alone.
  set(map ${CMAKE_CURRENT_SOURCE_DIR}/${name}.map)
  target_link_options(${name} PRIVATE LINKER:--version-script=${map})
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${map})
  if(NOT JABBLY_SANITIZE)
    # Every symbol must resolve inside the library or its two dependencies.
    target_link_options(${name} PRIVATE LINKER:--no-undefined)
  endif()
endfunction()
