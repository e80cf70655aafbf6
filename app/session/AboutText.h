// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What About (F6) shows: the program's version and its version texts.

#include <QString>

namespace jabbly {

// "About": the title of the message.
QString aboutTitle();
// "Jabbly V2.3.10.  " + the author credit + ".  " + the program's comments (a sentence
// about the program, the maker's contact address and the date of the last update).
QString aboutText();

}  // namespace jabbly
