# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Where the installed program's files go, and the program's icon as the build knows it.

# Installed, the program's folder (the program, both components, cpu.txt, jabbly.chm) is
# <prefix>/lib/jabbly: a private folder, so the components keep their plain names beside
# the program, which finds them through its own path. <prefix>/bin holds a link to it.
set(JABBLY_INSTALL_DIR lib/jabbly)

# The icon is drawn once, in dist/jabbly.svg; dist/icons holds it rendered at the hicolor
# sizes as jabbly<size>.png (see dist/README.md). The window icon uses the same files:
# JABBLY_ICON_PNGS lists them, JABBLY_ICON_DIR is their folder (a resource BASE).
set(JABBLY_ICON_SIZES 16 22 24 32 48 64 128 256)
set(JABBLY_ICON_DIR ${CMAKE_SOURCE_DIR}/dist/icons)
set(JABBLY_ICON_SVG ${CMAKE_SOURCE_DIR}/dist/jabbly.svg)
set(JABBLY_ICON_PNGS "")
foreach(size IN LISTS JABBLY_ICON_SIZES)
  list(APPEND JABBLY_ICON_PNGS ${JABBLY_ICON_DIR}/jabbly${size}.png)
endforeach()
