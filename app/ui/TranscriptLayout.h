// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout of the transcript's document: plain paragraphs one below the other, laid out
// in time that grows with the length of a long word only.

#include <QAbstractTextDocumentLayout>
#include <QSizeF>
#include <QTextDocument>

class QTextBlock;
class QTextLayout;

namespace jabbly {

// The transcript's document layout: its paragraphs one below the other, each a QTextLayout
// broken into lines. (The transcript holds plain paragraphs only: no frames, tables, lists,
// images or paragraph margins.) Lines break as in Qt's own layout with the edit's wrap mode,
// except that the lines inside a long run without a break opportunity are laid out straight
// away in wrap-anywhere mode: Qt's word-boundary-or-anywhere mode first searches such a run
// to its end on every line before it gives up and breaks it anywhere, so showing a long word
// would cost the square of its length. The lines come out the same.
class TranscriptLayout final : public QAbstractTextDocumentLayout {
public:
    explicit TranscriptLayout(QTextDocument *document) : QAbstractTextDocumentLayout(document)
    {
        documentChanged(0, 0, document->characterCount());
    }

    void draw(QPainter *painter, const PaintContext &context) override;
    int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override { return size_; }
    QRectF frameBoundingRect(QTextFrame *frame) const override
    {
        return frame == document()->rootFrame() ? QRectF(QPointF(), size_) : QRectF();
    }
    QRectF blockBoundingRect(const QTextBlock &block) const override;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    // The room for a line; negative when lines are not wrapped.
    qreal lineWidth() const;
    QPointF contentOrigin() const;
    qreal layOut(const QTextBlock &block, qreal top);
    // The block at height y: the first one above it, or the first block.
    QTextBlock blockAt(qreal y) const;
    static qreal heightOf(const QTextLayout *layout);

    QSizeF size_;
    qreal laidOutWidth_ = -2;  // the line width the blocks were laid out for
    qreal widest_ = 0;         // the widest line, for a document whose lines do not wrap
};

}  // namespace jabbly
