# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# CPack post-build script: takes out the ldconfig calls CPack writes into postinst and
# postrm for every shared object under /usr/lib. Jabbly's components live in its private
# folder, which ldconfig never reads, so the calls do nothing; and a package with a postrm
# stays registered in dpkg ("rc") after it is removed. Without them, removing the package
# leaves nothing behind.
find_program(DPKG_DEB dpkg-deb REQUIRED)
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "\\.deb$")
    continue()
  endif()
  set(tree "${CPACK_TOPLEVEL_DIRECTORY}/without-ldconfig")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND ${DPKG_DEB} --raw-extract "${deb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  foreach(script postinst postrm)
    set(path "${tree}/DEBIAN/${script}")
    if(EXISTS "${path}")
      file(STRINGS "${path}" lines)
      list(FILTER lines EXCLUDE REGEX "^(#!/bin/sh|set -e|if \\[ \"\\$1\" = \"(configure|remove)\" \\]; then|\tldconfig|fi|)$")
      if(lines)
        message(FATAL_ERROR "${script} does more than call ldconfig: ${lines}")
      endif()
      file(REMOVE "${path}")
    endif()
  endforeach()
  execute_process(COMMAND ${DPKG_DEB} --root-owner-group -Zgzip --build "${tree}" "${deb}"
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
endforeach()
