// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpeechFilter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace sayline {
namespace {

// What a character becomes. An empty text means that the character stays as it is.
struct Replacement {
    std::string_view text;
};

// Characters from U+0000 to U+00FF, by code. Codes 128 to 159 are the Latin-1 control
// characters here: only the five that Windows-1252 leaves unassigned are replaced; the
// characters that Windows-1252 puts at the other codes of that range live further up in
// Unicode and are handled by replacementAbove().
constexpr std::array<Replacement, 256> makeLatinTable()
{
    std::array<Replacement, 256> t{};
    for (int c = 1; c <= 31; ++c)
        t[c] = {" "};
    t[0x5E] = {"carat"};
    t[0x60] = {"'"};
    t[0x7F] = {" "};
    for (int c : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        t[c] = {" "};

    t[0xA0] = {" "};
    t[0xA1] = {"i"};
    t[0xA2] = {"c"};
    t[0xA3] = {"pound"};
    t[0xA4] = {"o"};
    t[0xA5] = {"Yen"};
    t[0xA6] = {"|"};
    t[0xA7] = {"S"};
    t[0xA8] = {".."};
    t[0xA9] = {"copyright"};
    t[0xAA] = {"a"};
    t[0xAB] = {"<<"};
    t[0xAC] = {" "};
    t[0xAD] = {"-"};
    t[0xAE] = {"copyright"};
    t[0xAF] = {"-"};
    t[0xB0] = {"to the power of 0"};
    t[0xB1] = {"plus or minus"};
    t[0xB2] = {"to the power of 2"};
    t[0xB3] = {"to the power of 3"};
    t[0xB4] = {"'"};
    t[0xB5] = {"u"};
    t[0xB6] = {" "};
    t[0xB7] = {"."};
    t[0xB8] = {","};
    t[0xB9] = {"to the power of 1"};
    t[0xBA] = {"degrees"};
    t[0xBB] = {">>"};
    t[0xBC] = {"1 quarter"};
    t[0xBD] = {"1 half"};
    t[0xBE] = {"3 quarters"};
    t[0xBF] = {"?"};
    for (int c = 0xC0; c <= 0xC5; ++c)
        t[c] = {"A"};
    t[0xC6] = {"AE"};
    t[0xC7] = {"C"};
    for (int c = 0xC8; c <= 0xCB; ++c)
        t[c] = {"E"};
    for (int c = 0xCC; c <= 0xCF; ++c)
        t[c] = {"I"};
    t[0xD0] = {"D"};
    t[0xD1] = {"N"};
    for (int c = 0xD2; c <= 0xD6; ++c)
        t[c] = {"O"};
    t[0xD7] = {"times"};
    t[0xD8] = {"O"};
    for (int c = 0xD9; c <= 0xDC; ++c)
        t[c] = {"U"};
    t[0xDD] = {"Y"};
    t[0xDE] = {"d"};
    t[0xDF] = {"ss"};
    for (int c = 0xE0; c <= 0xE5; ++c)
        t[c] = {"a"};
    t[0xE6] = {"ae"};
    t[0xE7] = {"c"};
    for (int c = 0xE8; c <= 0xEB; ++c)
        t[c] = {"e"};
    for (int c = 0xEC; c <= 0xEF; ++c)
        t[c] = {"i"};
    t[0xF0] = {"o"};
    t[0xF1] = {"n"};
    for (int c = 0xF2; c <= 0xF6; ++c)
        t[c] = {"o"};
    t[0xF7] = {"divided by"};
    t[0xF8] = {"o"};
    for (int c = 0xF9; c <= 0xFC; ++c)
        t[c] = {"u"};
    t[0xFD] = {"y"};
    t[0xFE] = {"D"};
    t[0xFF] = {"y"};
    return t;
}

constexpr std::array<Replacement, 256> LatinTable = makeLatinTable();

// The first 256 characters as the writing pass uses them: every character's output as
// UTF-16, padded to a fixed size, with its length (a character that stays is its own
// output). Copying the whole slot and moving on by the length needs no branch, so mixed
// text costs no more than plain text.
constexpr std::size_t Longest = 18;  // "to the power of 2" and its kind, rounded up

struct Wide {
    char16_t text[Longest];
    uint8_t length;
};

constexpr std::array<Wide, 256> makeWideTable()
{
    std::array<Wide, 256> w{};
    for (std::size_t c = 0; c < 256; ++c) {
        const std::string_view r = LatinTable[c].text;
        if (r.empty()) {
            w[c].text[0] = static_cast<char16_t>(c);
            w[c].length = 1;
        } else {
            for (std::size_t i = 0; i < r.size(); ++i)
                w[c].text[i] = static_cast<char16_t>(static_cast<unsigned char>(r[i]));
            w[c].length = static_cast<uint8_t>(r.size());
        }
    }
    return w;
}

constexpr std::array<Wide, 256> WideTable = makeWideTable();

constexpr bool fitsEverySlot()
{
    for (const Replacement &r : LatinTable) {
        if (r.text.size() > Longest)
            return false;
    }
    return true;
}
static_assert(fitsEverySlot(), "a replacement is longer than its slot");

// The Windows-1252 characters of codes 128 to 159 that Unicode keeps above U+00FF. All of
// them lie between U+0152 and U+2122, so most text never reaches the switch.
constexpr char16_t FirstAbove = 0x0152;
constexpr char16_t LastAbove = 0x2122;

std::string_view replacementAbove(char16_t c)
{
    // Several characters are spoken alike (both single quotes as "'"): the cases stay one
    // per character, in the order of the code page.
    // NOLINTBEGIN(bugprone-branch-clone)
    switch (c) {
    case 0x20AC:
        return "Euro";
    case 0x201A:
        return ",";
    case 0x0192:
        return "f";
    case 0x201E:
        return "\"";
    case 0x2026:
        return "...";
    case 0x2020:
        return "cross";
    case 0x2021:
        return "double-cross";
    case 0x02C6:
        return "carat";
    case 0x2030:
        return "percent";
    case 0x0160:
        return "S";
    case 0x2039:
        return "<";
    case 0x0152:
        return "OE";
    case 0x017D:
        return " ";
    case 0x2018:
        return "'";
    case 0x2019:
        return "'";
    case 0x201C:
        return "\"";
    case 0x201D:
        return "\"";
    case 0x2022:
        return ".";
    case 0x2013:
        return ".";
    case 0x2014:
        return "-";
    case 0x02DC:
        return "-";
    case 0x2122:
        return "trademark";
    case 0x0161:
        return "s";
    case 0x203A:
        return ">";
    case 0x0153:
        return "oe";
    case 0x017E:
        return " ";
    case 0x0178:
        return "Y";
    default:
        return {};
    }
    // NOLINTEND(bugprone-branch-clone)
}

inline bool changes(char16_t c)
{
    if (c < 0x100)
        return !LatinTable[c].text.empty();
    return c >= FirstAbove && c <= LastAbove && !replacementAbove(c).empty();
}

// Leading and trailing U+0020 only: tabs and the like have become spaces already, and any
// other white space (U+0085, U+3000, ...) is part of the text.
QString trimSpaces(const QString &text)
{
    const char16_t *p = reinterpret_cast<const char16_t *>(text.constData());
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && p[first] == u' ')
        ++first;
    while (last > first && p[last - 1] == u' ')
        --last;
    if (first == 0 && last == text.size())
        return text;
    return text.sliced(first, last - first);
}

}  // namespace

QString filterForSpeech(QString &text)
{
    const char16_t *in = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype n = text.size();

    // Most lines need no replacement at all: then the text is left untouched and no new
    // string is made.
    qsizetype firstChange = 0;
    while (firstChange < n && !changes(in[firstChange]))
        ++firstChange;
    if (firstChange == n)
        return trimSpaces(text);

    // Write, in one pass. The string starts with room for a quarter more than the text and
    // doubles when a replacement might not fit; every write may fill a whole slot.
    qsizetype capacity = n + (n - firstChange) / 4 + static_cast<qsizetype>(Longest);
    QString out(capacity, Qt::Uninitialized);
    char16_t *base = reinterpret_cast<char16_t *>(out.data());
    char16_t *o = std::copy(in, in + firstChange, base);
    char16_t *limit = base + capacity - Longest;
    for (qsizetype i = firstChange; i < n; ++i) {
        if (o > limit) {
            const qsizetype written = o - base;
            capacity *= 2;
            out.resize(capacity);
            base = reinterpret_cast<char16_t *>(out.data());
            o = base + written;
            limit = base + capacity - Longest;
        }
        const char16_t c = in[i];
        if (c < 0x100) {
            const Wide &w = WideTable[c];
            std::memcpy(o, w.text, sizeof w.text);
            o += w.length;
            continue;
        }
        const std::string_view r = c >= FirstAbove && c <= LastAbove ? replacementAbove(c) : std::string_view();
        if (r.empty()) {
            *o++ = c;
            continue;
        }
        for (char ch : r)
            *o++ = static_cast<char16_t>(static_cast<unsigned char>(ch));
    }
    out.truncate(o - base);
    text = std::move(out);
    return trimSpaces(text);
}

}  // namespace sayline
