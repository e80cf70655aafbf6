// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout of the transcript's document: plain paragraphs one below the other, laid out
// in time that grows with the length of a long word only.

#include <QAbstractTextDocumentLayout>
#include <QSizeF>
#include <QTextBlock>
#include <QTimer>
#include <QTextDocument>
#include <QTextLayout>

#include <functional>

namespace jabbly {

// The transcript's document layout: its paragraphs one below the other, each a QTextLayout
// broken into lines. (The transcript holds plain paragraphs only: no frames, tables, lists,
// images or paragraph margins.) Lines break as in Qt's own layout with the edit's wrap mode,
// except that the lines inside a long run without a break opportunity are laid out straight
// away in wrap-anywhere mode: Qt's word-boundary-or-anywhere mode first searches such a run
// to its end on every line before it gives up and breaks it anywhere, so showing a long word
// would cost the square of its length. The lines come out the same.
//
// A change of many paragraphs (a new font or size for the whole text, a new width) is laid out
// in two steps, so that the window answers at once: first the last paragraphs, as many as fill
// a view (the caret goes to the end after such a change, so the end is what the view shows
// then), placed where the first of them was; then, in short slices between events, the
// paragraphs from the top down. Until that is done, the paragraphs from the frontier on are
// shown shift_ lower than their layouts are placed: those not laid out again yet keep their
// old lines, and the last ones were placed after those. When the slices reach the last
// paragraphs, these move to their final place, and the view is told so that it can move along.
class TranscriptLayout final : public QAbstractTextDocumentLayout {
public:
    explicit TranscriptLayout(QTextDocument *document);

    // Whether part of the text is still to be laid out again after a change of many paragraphs.
    bool layingOut() const { return pending_; }
    // Lays out now what is left of such a change.
    void finish()
    {
        while (pending_)
            layOutSlice(-1);
    }
    // Told, when the slices move the text from the height `from` on down by `by` (negative: up).
    std::function<void(qreal from, qreal by)> onMoved;

    void draw(QPainter *painter, const PaintContext &context) override;
    int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override { return size_; }
    QRectF frameBoundingRect(QTextFrame *frame) const override
    {
        return frame == document()->rootFrame() ? QRectF(QPointF(), size_) : QRectF();
    }
    QRectF blockBoundingRect(const QTextBlock &block) const override;

    // While held, changes are only noted; release lays the changed text out once. A change
    // of the whole text in several steps (the default font, then the text's own formats)
    // then costs one layout instead of one for each step.
    void hold() { ++held_; }
    void release();

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    // The room for a line; negative when lines are not wrapped.
    qreal lineWidth() const;
    QPointF contentOrigin() const;
    // Lays `block` out with its first line at `top` (as shown); returns its height.
    qreal layOut(const QTextBlock &block, qreal top);
    // The block at height y: the first one above it, or the first block.
    QTextBlock blockAt(qreal y) const;
    static qreal heightOf(const QTextLayout *layout);
    // How much lower block number `number` is shown than its layout is placed.
    qreal shiftOf(int number) const { return pending_ && number >= frontier_ ? shift_ : 0; }
    qreal shiftOf(const QTextBlock &block) const { return pending_ ? shiftOf(block.blockNumber()) : 0; }
    qreal topOf(const QTextBlock &block) const { return block.layout()->position().y() + shiftOf(block); }
    void layOutLastFirst(const QTextBlock &first);
    void layOutSlice(int milliseconds);
    void updateSize();

    int held_ = 0;
    int heldFrom_ = -1;     // the first position changed while held; -1 for none
    int heldTo_ = -1;       // the end of the changed text, in positions after the change
    bool pending_ = false;  // a change of many paragraphs is being laid out in slices
    int frontier_ = 0;      // the first paragraph that the slices have not laid out yet
    int lastFirst_ = 0;     // the first of the last paragraphs, laid out at once
    qreal shift_ = 0;
    QTimer slices_;
    QSizeF size_;
    qreal laidOutWidth_ = -2;  // the line width the blocks were laid out for
    qreal widest_ = 0;         // the widest line, for a document whose lines do not wrap
};

}  // namespace jabbly
