// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Typed wrappers over the components' dispatch entries, so callers read naturally while
// every call still goes through Invoke with its member number.

#include "jabbly/dispatch.h"

namespace jabbly {

class Rowkit {
public:
    explicit Rowkit(Dispatch &component) : d_(component) {}

    void ListHoriScroll(ItemList &list, int16_t width);
    int32_t ListFind(ItemList &list, const QString &searchSpec);
    int32_t ListFindExact(ItemList &list, const QString &searchSpec);
    int32_t ListGetSelCount(ItemList &list);
    int32_t ListGetTextLen(ItemList &list);
    void Listload(ItemList &list, const QString &file);
    void Listsave(ItemList &list, const QString &file);
    void ListEdit(ItemList &list, const QString &text, int16_t index);
    void ListFiles(ItemList &list, const QString &folder);
    void ListFolders(ItemList &list, const QString &folder);
    void ListDrives(ItemList &list);

private:
    Dispatch &d_;
};

class Sayline {
public:
    explicit Sayline(Dispatch &component) : d_(component) {}

    void ListVoices(ItemList &list, SpeechEngine &engine);
    // Rewrites `text` in place (without trimming) and returns it trimmed of spaces.
    QString filt(QString &text);

private:
    Dispatch &d_;
};

}  // namespace jabbly
