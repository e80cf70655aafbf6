# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DCHM=<file> -DCHMLS=<chmls> -DPAGES=<page;...> -P CheckChm.cmake
# Fails unless chmcmd wrote CHM and it holds every page.
if(NOT EXISTS "${CHM}")
  message(FATAL_ERROR "chmcmd wrote no ${CHM}: see its output above")
endif()
file(SIZE "${CHM}" size)
if(size EQUAL 0)
  message(FATAL_ERROR "chmcmd wrote an empty ${CHM}")
endif()
execute_process(COMMAND "${CHMLS}" --no-page -n list "${CHM}"
  OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "chmls cannot list ${CHM}: ${errors}")
endif()
string(APPEND listing "\n")
foreach(page IN LISTS PAGES)
  string(FIND "${listing}" "/${page}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${CHM} lacks ${page}")
  endif()
endforeach()
