# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package's relations as CPack will write them: what the program needs at run
# time without linking it must be recommended.
#   cmake -DCONFIG=<build>/CPackConfig.cmake -P CheckPackageRelations.cmake
include(${CONFIG})
foreach(package qt6-wayland xdg-utils)
  if(NOT CPACK_DEBIAN_PACKAGE_RECOMMENDS MATCHES "(^|, *)${package}(,|$| )")
    message(FATAL_ERROR "The package does not recommend ${package}: Recommends is '${CPACK_DEBIAN_PACKAGE_RECOMMENDS}'")
  endif()
endforeach()
if(NOT CPACK_DEBIAN_PACKAGE_DEPENDS MATCHES "espeak-ng-data")
  message(FATAL_ERROR "The package does not depend on espeak-ng-data: Depends is '${CPACK_DEBIAN_PACKAGE_DEPENDS}'")
endif()
