// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The item list: an ordered list of texts with a 16-bit count and index, an optional
// sort flag, a selected index and a selection event. Every list of the program is one,
// and the components work on lists only through this interface.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace jabbly {

class ItemList {
public:
    static constexpr int MaxItems = 32767;

    virtual ~ItemList() = default;

    // Without an index: at the sorted place on a sorted list (after equal items), else at
    // the end. With an index from 0 to ListCount(): inserted there, sorted or not (else 5).
    // A full list fails with Overflow (6) and is left unchanged.
    virtual void AddItem(const QString &text) = 0;
    virtual void AddItem(const QString &text, int16_t index) = 0;
    // Adds each text as AddItem(text) would, in order, with one notification. When the
    // list fills up, the texts that fitted stay and Overflow (6) is thrown.
    virtual void AddItems(const QStringList &texts) = 0;
    // Index 0 to ListCount() - 1, else InvalidArgument (5) and no change.
    virtual void RemoveItem(int16_t index) = 0;
    virtual void Clear() = 0;

    virtual int16_t ListCount() const = 0;
    // -1 when nothing is selected.
    virtual int16_t ListIndex() const = 0;
    // -1 to ListCount() - 1, else InvalidPropertyValue (380) and no change. Raises the
    // selection event before returning, exactly as a click on the item would.
    virtual void setListIndex(int16_t index) = 0;
    // The selected item's text; empty when nothing is selected.
    virtual QString Text() const = 0;
    // The item at index; an index outside the list reads as the empty text.
    virtual QString List(int index) const = 0;
    virtual bool Sorted() const = 0;

    // The list-box queries, answered by the list itself. Searches start at item 1, run to
    // the end and test item 0 last; letter case is ignored. -1 when nothing matches.
    virtual int32_t FindString(const QString &prefix) const = 0;
    virtual int32_t FindStringExact(const QString &text) const = 0;
    // Selected-item count of a multi-selection list; -1 for a single-selection list.
    virtual int32_t SelCount() const = 0;
    // Length of the selected item's text in characters (Unicode code points); -1 when
    // nothing is selected.
    virtual int32_t SelectedTextLength() const = 0;
    // Width in pixels that the list's content may be scrolled horizontally.
    virtual void setHorizontalExtent(int width) = 0;
    virtual int horizontalExtent() const = 0;

    // The selection event; raised synchronously by setListIndex and by the user's clicks.
    // A handler may throw jabbly::Error (and nothing else); the error comes out of the
    // setListIndex that raised it. A click's selection is never undone by such an error:
    // the window that shows the list reports it and the selection stays.
    using SelectionHandler = std::function<void()>;
    virtual void setSelectionHandler(SelectionHandler handler) = 0;
};

}  // namespace jabbly
