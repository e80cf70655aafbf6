# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Install rules for the program's folder and the link to the program. The data files and
# the desktop files install from their own folders (data/, dist/).

# The program and its components find each other through their own folder, wherever it
# is installed; nothing else is searched beyond the system's libraries.
set_target_properties(jabbly PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS jabbly Rowkit Sayline
  RUNTIME DESTINATION ${JABBLY_INSTALL_DIR}
  LIBRARY DESTINATION ${JABBLY_INSTALL_DIR})
# The help file is built from help/ when its tools are there.
install(FILES ${JABBLY_BIN_DIR}/jabbly.chm DESTINATION ${JABBLY_INSTALL_DIR} OPTIONAL)

# A relative link, so the tree works under any prefix and DESTDIR. The program follows it
# to its real folder (applicationDirPath reads /proc/self/exe) to find its files.
file(RELATIVE_PATH _jabbly_link_target /bin /${JABBLY_INSTALL_DIR}/jabbly)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-link)
file(CREATE_LINK ${_jabbly_link_target} ${CMAKE_BINARY_DIR}/install-link/jabbly SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/install-link/jabbly DESTINATION bin)
