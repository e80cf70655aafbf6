// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CaptionFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

#include <algorithm>

namespace jabbly {

namespace {

// Where the style draws the control's text, at the control's present size.
QRect textRoom(const QPushButton &control)
{
    QStyleOptionButton option;
    option.initFrom(&control);
    option.text = control.text();
    return control.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &control);
}

QRect textRoom(const QComboBox &control)
{
    QStyleOptionComboBox option;
    option.initFrom(&control);
    option.editable = control.isEditable();
    // The combo box paints its text one pixel in from each side of the edit field.
    return control.style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &control)
        .adjusted(1, 0, -1, 0);
}

struct TextNeeds {
    int width = 0;   // advance of the widest text
    int height = 0;  // height of the tallest ink
};

TextNeeds needsOf(const QFontMetrics &metrics, const QStringList &texts)
{
    TextNeeds needs;
    for (const QString &text : texts) {
        needs.width = std::max(needs.width, metrics.horizontalAdvance(text));
        needs.height = std::max(needs.height, metrics.tightBoundingRect(text).height());
    }
    return needs;
}

TextNeeds needsOf(const QPushButton &control) { return needsOf(control.fontMetrics(), {shownCaption(control.text())}); }

TextNeeds needsOf(const QComboBox &control)
{
    QStringList texts;
    for (int i = 0; i < control.count(); ++i)
        texts.append(control.itemText(i));
    return needsOf(control.fontMetrics(), texts);
}

bool fits(const QRect &room, const TextNeeds &needs)
{
    return needs.width <= room.width() && needs.height <= room.height();
}

// A dimension that lacks room grows to the style's own size for the control, and at
// least by what the text lacks.
void grow(QWidget &control, const QRect &room, const TextNeeds &needs)
{
    QSize size = control.size();
    const QSize natural = control.sizeHint();
    if (needs.width > room.width())
        size.setWidth(std::max(natural.width(), size.width() + needs.width - room.width()));
    if (needs.height > room.height())
        size.setHeight(std::max(natural.height(), size.height() + needs.height - room.height()));
    control.resize(size);
}

}  // namespace

QString shownCaption(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && ++i == caption.size())
            break;
        shown.append(caption.at(i));
    }
    return shown;
}

// A push button's size hint also holds a minimum width of the style's, which a short
// caption does not need; a check box's is exactly its box and caption.
bool captionFits(const QPushButton &control) { return fits(textRoom(control), needsOf(control)); }

bool captionFits(const QCheckBox &control)
{
    const QSize needed = control.sizeHint();
    return control.width() >= needed.width() && control.height() >= needed.height();
}

bool captionFits(const QComboBox &control) { return fits(textRoom(control), needsOf(control)); }

void growToShowCaption(QPushButton &control) { grow(control, textRoom(control), needsOf(control)); }

void growToShowCaption(QCheckBox &control) { control.resize(control.size().expandedTo(control.sizeHint())); }

void growToShowCaption(QComboBox &control) { grow(control, textRoom(control), needsOf(control)); }

}  // namespace jabbly
