// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Components.h"

#include "jabbly/members.h"

#include <array>

namespace jabbly {

namespace {

template <typename... Args>
Variant call(Dispatch &d, int32_t member, Args &&...arguments)
{
    std::array<Variant, sizeof...(Args)> a{Variant(std::forward<Args>(arguments))...};
    return d.Invoke(member, a);
}

int32_t asInt32(const Variant &v)
{
    if (auto *p = std::get_if<int32_t>(&v))
        return *p;
    args::typeMismatch();
}

}  // namespace

void Rowkit::ListHoriScroll(ItemList &list, int16_t width) { call(d_, rowkit::ListHoriScroll, &list, width); }
int32_t Rowkit::ListFind(ItemList &list, const QString &s) { return asInt32(call(d_, rowkit::ListFind, &list, s)); }
int32_t Rowkit::ListFindExact(ItemList &list, const QString &s)
{
    return asInt32(call(d_, rowkit::ListFindExact, &list, s));
}
int32_t Rowkit::ListGetSelCount(ItemList &list) { return asInt32(call(d_, rowkit::ListGetSelCount, &list)); }
int32_t Rowkit::ListGetTextLen(ItemList &list) { return asInt32(call(d_, rowkit::ListGetTextLen, &list)); }
void Rowkit::Listload(ItemList &list, const QString &file) { call(d_, rowkit::Listload, &list, file); }
void Rowkit::Listsave(ItemList &list, const QString &file) { call(d_, rowkit::Listsave, &list, file); }
void Rowkit::ListEdit(ItemList &list, const QString &text, int16_t index)
{
    call(d_, rowkit::ListEdit, &list, text, index);
}
void Rowkit::ListFiles(ItemList &list, const QString &folder) { call(d_, rowkit::ListFiles, &list, folder); }
void Rowkit::ListFolders(ItemList &list, const QString &folder) { call(d_, rowkit::ListFolders, &list, folder); }
void Rowkit::ListDrives(ItemList &list) { call(d_, rowkit::ListDrives, &list); }

void Sayline::ListVoices(ItemList &list, SpeechEngine &engine) { call(d_, sayline::ListVoices, &list, &engine); }

QString Sayline::filt(QString &text)
{
    std::array<Variant, 1> a{Variant(text)};
    Variant result = d_.Invoke(sayline::filt, a);
    text = std::get<QString>(a[0]);
    if (auto *p = std::get_if<QString>(&result))
        return *p;
    args::typeMismatch();
}

}  // namespace jabbly
