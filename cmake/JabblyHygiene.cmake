# SPDX-FileCopyrightText: 2026 The Jabbly developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Compiler warnings for all of the project's code (Qt's and GoogleTest's headers come in as
# system headers, so their own warnings stay out), and the Qt settings the program and its
# libraries are built with: every conversion between bytes and text is spelled out, Qt's
# `signals`/`slots`/`emit` keywords are not macros (Q_SIGNALS, Q_SLOTS, Q_EMIT), and
# nothing deprecated up to Qt 6.4 is used. CI builds with warnings as errors
# (CMAKE_COMPILE_WARNING_AS_ERROR, see the Makefile).
add_compile_options(-Wall -Wextra -Wshadow
  "$<$<COMPILE_LANGUAGE:CXX>:-Wold-style-cast;-Wnon-virtual-dtor;-Woverloaded-virtual>")

set(JABBLY_QT_HYGIENE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_KEYWORDS
  QT_DISABLE_DEPRECATED_UP_TO=0x060400)

# jabbly_qt_hygiene(): the Qt settings for every target made from here on in the calling
# folder and below it (the program and the libraries; tests keep Qt's defaults).
macro(jabbly_qt_hygiene)
  add_compile_definitions(${JABBLY_QT_HYGIENE})
endmacro()
