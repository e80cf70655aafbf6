// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps a line edit to one line: every line break that enters it (typed, pasted or set
// from code) becomes one blank. CR LF counts as one break; CR, LF, VT, FF, NEL, U+2028 and
// U+2029 each count as one, and so do the characters that the transcript's document would
// turn into structure: U+FDD0 and U+FDD1 (its frame markers) and U+FFFC (an object's place).

#include <QValidator>

namespace jabbly {

class SingleLineValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override;

    // `text` with its line breaks folded into blanks; `pos`, a position in `text`, is moved
    // to the same place in the result.
    static QString foldLineBreaks(const QString &text, int *pos = nullptr);
};

}  // namespace jabbly
