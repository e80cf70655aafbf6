// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TranscriptLayout.h"

#include <QPainter>
#include <QStyle>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <algorithm>
#include <limits>

namespace jabbly {

namespace {

// Runs shorter than this are left to Qt's own line breaking, which looks for the end of the
// run on every line of it: for short runs that costs nothing worth saving.
constexpr qsizetype LongRun = 128;

struct Run {
    qsizetype start;
    qsizetype end;
};

bool isHangul(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x1100 && u <= 0x11FF) || (u >= 0x3130 && u <= 0x318F) || (u >= 0xA960 && u <= 0xA97F) ||
           (u >= 0xAC00 && u <= 0xD7FF);
}

// A blank after which Qt's line breaking may end a line (a no-break space is none).
bool isBreakingBlank(QChar c) { return c.isSpace() && c.decompositionTag() != QChar::NoBreak; }

// The runs of `text`, at least LongRun long, inside which Qt's line breaking finds no place to
// end a line: Qt's layout may end a line after any blank, and elsewhere between the line
// break opportunities of Unicode line breaking, with Korean read like the letters of one
// word (as Qt's text layout reads it). Only the stretches between blanks that are long
// enough to hold such a run are searched for break opportunities.
QList<Run> longRuns(const QString &text)
{
    QList<Run> runs;
    const auto search = [&](qsizetype from, qsizetype to) {
        const QChar *chars = text.constData() + from;
        // Latin letters and digits never break between themselves: the usual long word
        // needs no search.
        if (std::all_of(chars, chars + (to - from),
                        [](QChar c) { return c.unicode() < 0x80 && c.isLetterOrNumber(); })) {
            runs.append({from, to});
            return;
        }
        QTextBoundaryFinder finder(QTextBoundaryFinder::Line, chars, to - from);
        qsizetype start = 0;
        for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
            if (at < to - from && (isHangul(chars[at - 1]) || isHangul(chars[at])))
                continue;
            if (at - start >= LongRun)
                runs.append({from + start, from + at});
            start = at;
        }
    };
    qsizetype start = 0;
    for (qsizetype i = 1; i <= text.size(); ++i) {
        if (i == text.size() || (isBreakingBlank(text[i - 1]) && !isBreakingBlank(text[i]))) {
            if (i - start >= LongRun)
                search(start, i);
            start = i;
        }
    }
    return runs;
}

}  // namespace

QPointF TranscriptLayout::contentOrigin() const
{
    const QTextFrameFormat frame = document()->rootFrame()->frameFormat();
    return {frame.leftMargin() + frame.padding() + frame.border(),
            frame.topMargin() + frame.padding() + frame.border()};
}

qreal TranscriptLayout::lineWidth() const
{
    const qreal page = document()->pageSize().width();
    if (page < 0)
        return -1;
    const QTextFrameFormat frame = document()->rootFrame()->frameFormat();
    const qreal around = frame.leftMargin() + frame.rightMargin() + 2 * (frame.padding() + frame.border());
    return qMax<qreal>(0, page - around);
}

qreal TranscriptLayout::heightOf(const QTextLayout *layout)
{
    const int lines = layout->lineCount();
    if (lines == 0)
        return 0;
    const QTextLine last = layout->lineAt(lines - 1);
    return last.y() + last.height();
}

qreal TranscriptLayout::layOut(const QTextBlock &block, qreal top)
{
    QTextLayout *layout = block.layout();
    const QTextBlockFormat format = block.blockFormat();
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(block.textDirection());
    option.setAlignment(QStyle::visualAlignment(block.textDirection(), format.hasProperty(QTextFormat::BlockAlignment)
                                                                           ? format.alignment()
                                                                           : option.alignment()));
    option.setTabs(format.tabPositions());
    const qreal width = lineWidth();
    if (width < 0 || format.nonBreakableLines())
        option.setWrapMode(QTextOption::ManualWrap);
    layout->setTextOption(option);
    layout->setPosition(QPointF(contentOrigin().x(), top));
    // Ordinary lines keep their shaped glyphs, so that painting them and placing the cursor
    // in them do not shape them again; a huge paragraph is shaped again, line by line, when
    // its lines are painted.
    layout->setCacheEnabled(block.length() < 2000);

    QTextOption anywhere = option;
    anywhere.setWrapMode(QTextOption::WrapAnywhere);
    const QList<Run> runs = option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere && block.length() > LongRun
                                ? longRuns(block.text())
                                : QList<Run>();
    auto run = runs.cbegin();
    const auto setWidth = [&](QTextLine &line) {
        if (option.wrapMode() == QTextOption::ManualWrap)
            line.setNumColumns(std::numeric_limits<int>::max());
        else
            line.setLineWidth(width);
    };

    qreal y = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        const qsizetype from = line.textStart();
        while (run != runs.cend() && run->end <= from)
            ++run;
        if (run != runs.cend() && run->start <= from && run->end - from >= LongRun) {
            // Inside a long run: the line ends inside the run, broken anywhere, as Qt's layout
            // would end it after searching the whole run. Should the rest of the run fit with
            // room to spare, the line is laid out the ordinary way instead.
            layout->setTextOption(anywhere);
            line.setLineWidth(width);
            layout->setTextOption(option);
            if (from + line.textLength() > run->end)
                setWidth(line);
        } else {
            setWidth(line);
        }
        line.setPosition(QPointF(0, y));
        y += line.height();
        widest_ = qMax(widest_, line.naturalTextWidth());
    }
    layout->endLayout();
    return y;
}

void TranscriptLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    QTextDocument *doc = document();
    const qreal width = lineWidth();
    QTextBlock block = doc->findBlock(from);
    QTextBlock last = doc->findBlock(from + charsAdded);
    if (width != laidOutWidth_ || !block.isValid()) {
        block = doc->begin();
        last = doc->lastBlock();
        widest_ = 0;
        laidOutWidth_ = width;
    } else if (charsRemoved == 0 && from > block.position() && from == block.position() + block.length() - 1 &&
               block.next().isValid()) {
        // New paragraphs after this one (a transcript line added at the end): its own text is
        // as it was, and so are its lines.
        block = block.next();
    }
    if (!last.isValid())
        last = doc->lastBlock();

    const QTextBlock previous = block.previous();
    qreal top =
        previous.isValid() ? previous.layout()->position().y() + heightOf(previous.layout()) : contentOrigin().y();
    const qreal changedTop = top;
    // The changed blocks are laid out again; the blocks after them only move, if at all.
    for (; block.isValid(); block = block.next()) {
        QTextLayout *layout = block.layout();
        if (block.position() <= last.position() || layout->lineCount() == 0) {
            top += layOut(block, top);
        } else if (layout->position().y() == top) {
            top = doc->lastBlock().layout()->position().y() + heightOf(doc->lastBlock().layout());
            break;
        } else {
            layout->setPosition(QPointF(layout->position().x(), top));
            top += heightOf(layout);
        }
    }

    const QTextFrameFormat frame = doc->rootFrame()->frameFormat();
    const qreal bottom = frame.bottomMargin() + frame.padding() + frame.border();
    const qreal around = contentOrigin().x() + frame.rightMargin() + frame.padding() + frame.border();
    const QSizeF size(width < 0 ? widest_ + around : qMax(doc->pageSize().width(), widest_ + around), top + bottom);
    if (size != size_) {
        size_ = size;
        Q_EMIT documentSizeChanged(size_);
    }
    Q_EMIT update(QRectF(0, changedTop, 1e9, 1e9));
}

QTextBlock TranscriptLayout::blockAt(qreal y) const
{
    const QTextDocument *doc = document();
    int low = 0, high = doc->blockCount() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (doc->findBlockByNumber(middle).layout()->position().y() <= y)
            low = middle;
        else
            high = middle - 1;
    }
    return doc->findBlockByNumber(low);
}

QRectF TranscriptLayout::blockBoundingRect(const QTextBlock &block) const
{
    if (!block.isValid())
        return {};
    const QTextLayout *layout = block.layout();
    const qreal width = lineWidth();
    return {layout->position(), QSizeF(width < 0 ? layout->boundingRect().width() : width, heightOf(layout))};
}

void TranscriptLayout::draw(QPainter *painter, const PaintContext &context)
{
    const QRectF clip = context.clip;
    const QVariant cursorWidthProperty = property("cursorWidth");
    const int cursorWidth = cursorWidthProperty.isValid() ? cursorWidthProperty.toInt() : 1;
    const QPen pen = painter->pen();
    for (QTextBlock block = clip.isValid() ? blockAt(clip.top()) : document()->begin(); block.isValid();
         block = block.next()) {
        QTextLayout *layout = block.layout();
        if (clip.isValid() && layout->position().y() > clip.bottom())
            break;
        const int start = block.position();
        const int length = block.length();
        QList<QTextLayout::FormatRange> selections;
        for (const Selection &selection : context.selections) {
            const int selectionStart = selection.cursor.selectionStart() - start;
            const int selectionEnd = selection.cursor.selectionEnd() - start;
            if (selectionStart < length && selectionEnd > 0 && selectionEnd > selectionStart) {
                selections.append({selectionStart, selectionEnd - selectionStart, selection.format});
            } else if (!selection.cursor.hasSelection() &&
                       selection.format.hasProperty(QTextFormat::FullWidthSelection) &&
                       block.contains(selection.cursor.position())) {
                const QTextLine line = layout->lineForTextPosition(selection.cursor.position() - start);
                const int lineEnd = line.textStart() + line.textLength();
                selections.append(
                    {line.textStart(), line.textLength() + (lineEnd == length - 1 ? 1 : 0), selection.format});
            }
        }
        painter->setPen(context.palette.color(QPalette::Text));
        layout->draw(painter, QPointF(), selections, clip);
        if (context.cursorPosition >= start && context.cursorPosition < start + length)
            layout->drawCursor(painter, QPointF(), context.cursorPosition - start, cursorWidth);
    }
    painter->setPen(pen);
}

int TranscriptLayout::hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const
{
    // Above the text is its start and below it its end, as in Qt's own layout.
    const QTextDocument *doc = document();
    const QTextLayout *lastLayout = doc->lastBlock().layout();
    if (point.y() < doc->begin().layout()->position().y())
        return accuracy == Qt::ExactHit ? -1 : 0;
    if (point.y() >= lastLayout->position().y() + heightOf(lastLayout))
        return accuracy == Qt::ExactHit ? -1 : doc->characterCount() - 1;
    const QTextBlock block = blockAt(point.y());
    const QTextLayout *layout = block.layout();
    const int lines = layout->lineCount();
    if (lines == 0)
        return accuracy == Qt::ExactHit ? -1 : block.position();
    const QPointF at = point - layout->position();
    // The line at that height, or the nearest one.
    int low = 0, high = lines - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (layout->lineAt(middle).y() <= at.y())
            low = middle;
        else
            high = middle - 1;
    }
    const QTextLine line = layout->lineAt(low);
    if (accuracy == Qt::ExactHit && !line.naturalTextRect().contains(at))
        return -1;
    return block.position() + line.xToCursor(at.x());
}

}  // namespace jabbly
