// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Rich Text Format for the transcript's document (Qt reads and writes HTML and Markdown,
// but no RTF).

#include <QByteArray>

class QTextDocument;

namespace jabbly {

// The whole of `document` as an RTF document, in one pass over its text:
// - each paragraph (a transcript line) ends with \par, except the last, so that a reader
//   shows exactly the transcript's lines;
// - the font family, point size (\fs, in half points), bold, italic, underline and
//   strike-through in force in each run, with a font table of the families used (by
//   their own names, without Qt's foundry, and with the pitch of the font really drawn);
// - the colour of each run (\cf), with a colour table of every colour used; text without
//   a colour of its own is \cf0, the reader's automatic colour;
// - "\", "{" and "}" escaped, tabs as \tab, soft line breaks as \line; every other
//   character outside printable ASCII as a Unicode escape \uN (N the signed 16-bit
//   UTF-16 unit, so a character beyond the BMP is two escapes) with "?" as its one-byte
//   fallback for readers that know no Unicode.
// The result is plain 7-bit ASCII.
QByteArray writeRtf(const QTextDocument &document);

}  // namespace jabbly
