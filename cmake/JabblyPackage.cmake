# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package (`make package`, or `cmake --build build --target package`): the
# installed tree under /usr, binaries stripped, dependencies found by dpkg-shlibdeps from
# the binaries themselves plus what the program loads at run time, which shlibdeps cannot
# see: espeak-ng's library (loaded when speech first starts) and the voice data it reads.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME jabbly)
set(CPACK_PACKAGE_VENDOR "Orvel Tamsin")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Jabbly packaging <jabbly.feedback@example.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Everything the plain install has, plus the Debian-only documents (dist/debian).
set(CPACK_INSTALL_CMAKE_PROJECTS
  "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/"
  "${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")

set(CPACK_DEBIAN_PACKAGE_NAME jabbly)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.com/jabbly/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libespeak-ng1 (>= 1.51), espeak-ng-data")
# Not linked, so dpkg-shlibdeps cannot find them: Qt's Wayland platform plugin, without
# which the program cannot start on a Wayland-only desktop, and xdg-utils, through which it
# opens links, mail and the help file with the desktop's programs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils")
# The first line is the synopsis; CPack indents the rest and marks the empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "chat companion that learns your words
Jabbly is a small desktop chat program. Type a line and press Say: the
line goes into a coloured transcript and Jabbly answers, building its
replies from a set of templates and from the words it has learned from
you. Every new word is kept for the next conversation.

Replies can be spoken aloud with espeak-ng, in any of its voices and at
the speed you choose. Bracketed commands such as [time] or [commands]
answer with a fact, and the transcript can be exported as rich text.")
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebWithoutLdconfig.cmake)

include(CPack)
