// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Controls keep their design sizes, made for a standard desktop font; under a larger font
// a caption or value that would be cut off gets the room it needs.

#include <QString>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace jabbly {

// Grows `control` from its present size until what it shows fits: a push button's caption,
// or a drop-down list's every item, where the style draws the text (a dimension that lacks
// room grows to the control's size hint, and at least by what the text lacks); a check
// box's box and caption (its size hint). A control that fits keeps its size.
void growToShowCaption(QPushButton &control);
void growToShowCaption(QCheckBox &control);
void growToShowCaption(QComboBox &control);

// True when `control` shows its caption, or every value, whole.
bool captionFits(const QPushButton &control);
bool captionFits(const QCheckBox &control);
bool captionFits(const QComboBox &control);

// A caption as shown: "&Say" is shown as "Say", "&&" as "&".
QString shownCaption(const QString &caption);

}  // namespace jabbly
