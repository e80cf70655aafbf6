// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// filt through the component's dispatch entry: every Windows-1252 code, the in-place
// rewrite against the trimmed result, and the lines the program speaks.

#include "SaylineTesting.h"

#include "ErrorNumber.h"

#include "jabbly/members.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <array>
#include <map>

using jabbly::testing::errorNumber;
using sayline_test::filt;

namespace {

// The Unicode character that stands for each Windows-1252 code from 128 to 159 (the five
// codes that Windows-1252 leaves unassigned keep their Latin-1 control character).
constexpr std::array<char16_t, 32> Cp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QChar characterFor(int code)
{
    if (code >= 128 && code <= 159)
        return QChar(Cp1252High[code - 128]);
    return QChar(static_cast<char16_t>(code));
}

struct Row {
    int first;
    int last;
    const char *becomes;
};

// The replacement table by Windows-1252 code; a code that is not listed stays as it is.
constexpr Row Table[] = {
    {1, 31, " "},
    {94, 94, "carat"},
    {96, 96, "'"},
    {127, 127, " "},
    {128, 128, "Euro"},
    {129, 129, " "},
    {130, 130, ","},
    {131, 131, "f"},
    {132, 132, "\""},
    {133, 133, "..."},
    {134, 134, "cross"},
    {135, 135, "double-cross"},
    {136, 136, "carat"},
    {137, 137, "percent"},
    {138, 138, "S"},
    {139, 139, "<"},
    {140, 140, "OE"},
    {141, 141, " "},
    {142, 142, " "},
    {143, 143, " "},
    {144, 144, " "},
    {145, 146, "'"},
    {147, 148, "\""},
    {149, 150, "."},
    {151, 152, "-"},
    {153, 153, "trademark"},
    {154, 154, "s"},
    {155, 155, ">"},
    {156, 156, "oe"},
    {157, 157, " "},
    {158, 158, " "},
    {159, 159, "Y"},
    {160, 160, " "},
    {161, 161, "i"},
    {162, 162, "c"},
    {163, 163, "pound"},
    {164, 164, "o"},
    {165, 165, "Yen"},
    {166, 166, "|"},
    {167, 167, "S"},
    {168, 168, ".."},
    {169, 169, "copyright"},
    {170, 170, "a"},
    {171, 171, "<<"},
    {172, 172, " "},
    {173, 173, "-"},
    {174, 174, "copyright"},
    {175, 175, "-"},
    {176, 176, "to the power of 0"},
    {177, 177, "plus or minus"},
    {178, 178, "to the power of 2"},
    {179, 179, "to the power of 3"},
    {180, 180, "'"},
    {181, 181, "u"},
    {182, 182, " "},
    {183, 183, "."},
    {184, 184, ","},
    {185, 185, "to the power of 1"},
    {186, 186, "degrees"},
    {187, 187, ">>"},
    {188, 188, "1 quarter"},
    {189, 189, "1 half"},
    {190, 190, "3 quarters"},
    {191, 191, "?"},
    {192, 197, "A"},
    {198, 198, "AE"},
    {199, 199, "C"},
    {200, 203, "E"},
    {204, 207, "I"},
    {208, 208, "D"},
    {209, 209, "N"},
    {210, 214, "O"},
    {215, 215, "times"},
    {216, 216, "O"},
    {217, 220, "U"},
    {221, 221, "Y"},
    {222, 222, "d"},
    {223, 223, "ss"},
    {224, 229, "a"},
    {230, 230, "ae"},
    {231, 231, "c"},
    {232, 235, "e"},
    {236, 239, "i"},
    {240, 240, "o"},
    {241, 241, "n"},
    {242, 246, "o"},
    {247, 247, "divided by"},
    {248, 248, "o"},
    {249, 252, "u"},
    {253, 253, "y"},
    {254, 254, "D"},
    {255, 255, "y"},
};

QString expectedFor(int code)
{
    for (const Row &row : Table) {
        if (code >= row.first && code <= row.last)
            return QString::fromLatin1(row.becomes);
    }
    return QString(characterFor(code));
}

QString withoutOuterSpaces(const QString &s)
{
    qsizetype first = 0, last = s.size();
    while (first < last && s[first] == u' ')
        ++first;
    while (last > first && s[last - 1] == u' ')
        --last;
    return s.mid(first, last - first);
}

struct Outcome {
    QString var;
    QString result;
};

Outcome run(const QString &input)
{
    QString var = input;
    QString result = filt(var);
    return {var, result};
}

}  // namespace

TEST(Filt, EveryWindows1252CodeAloneAndBetweenLetters)
{
    for (int code = 0; code <= 255; ++code) {
        SCOPED_TRACE(testing::Message() << "code " << code);
        const QString ch(characterFor(code));
        const QString expected = expectedFor(code);

        const Outcome alone = run(ch);
        EXPECT_EQ(alone.var, expected);
        EXPECT_EQ(alone.result, withoutOuterSpaces(expected));

        // Between letters nothing is trimmed and no spaces are added around a word.
        const Outcome inside = run(u'x' + ch + u'y');
        EXPECT_EQ(inside.var, u'x' + expected + u'y');
        EXPECT_EQ(inside.result, inside.var);
    }
}

TEST(Filt, CharactersOutsideTheTablePassThrough)
{
    // Latin-1 controls other than the five unassigned codes, a NUL, letters above U+00FF
    // (some of them next to Windows-1252 ones in Unicode), other white space, a
    // surrogate pair, and the last code unit.
    QString others;
    for (char16_t c = 0x80; c <= 0x9F; ++c) {
        if (c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D)
            others += QChar(c);
    }
    others += QString(QChar(u'\0'));
    for (char16_t c : {u'\u0100', u'\u0151', u'\u0154', u'\u017F', u'\u0191', u'\u0193', u'\u2000', u'\u2012',
                       u'\u2015', u'\u2028', u'\u2121', u'\u2123', u'\u3000', u'\u0085', u'\uFFFF'})
        others += QChar(c);
    others += QString::fromUtf8("\xF0\x9F\x98\x80");  // U+1F600 as two code units

    const Outcome o = run(others);
    EXPECT_EQ(o.var, others);
    EXPECT_EQ(o.result, others);
}

TEST(Filt, MatchingIsExactAndReplacementsAreNotReplacedAgain)
{
    // Only the listed form of a letter is replaced: no case or accent folding beyond the
    // table, and the words put in are never filtered a second time.
    EXPECT_EQ(run(QStringLiteral("Šš Žž Ÿÿ Ðð Þþ ºª")).var, QStringLiteral("Ss    Yy Do dD degreesa"));
    EXPECT_EQ(run(QStringLiteral("^`^")).var, QStringLiteral("carat'carat"));
    EXPECT_EQ(run(QStringLiteral("2^3")).var, QStringLiteral("2carat3"));
}

TEST(Filt, LinesFromTheConversation)
{
    const struct {
        QString input;
        QString var;
        QString result;
    } cases[] = {
        {QString(), QString(), QString()},
        {QStringLiteral("  Hello\tWorld\r\n"), QStringLiteral("  Hello World  "), QStringLiteral("Hello World")},
        {QStringLiteral("Café crème"), QStringLiteral("Cafe creme"), QStringLiteral("Cafe creme")},
        {QStringLiteral("Ærøskøbing"), QStringLiteral("AEroskobing"), QStringLiteral("AEroskobing")},
        {QStringLiteral("Straße"), QStringLiteral("Strasse"), QStringLiteral("Strasse")},
        {QStringLiteral("£5 ± 2½%"), QStringLiteral("pound5 plus or minus 21 half%"),
         QStringLiteral("pound5 plus or minus 21 half%")},
        {QStringLiteral("“Hi” – he said…"), QStringLiteral("\"Hi\" . he said..."),
         QStringLiteral("\"Hi\" . he said...")},
        {QStringLiteral("5€ and x²"), QStringLiteral("5Euro and xto the power of 2"),
         QStringLiteral("5Euro and xto the power of 2")},
        {QStringLiteral("a  b"), QStringLiteral("a  b"), QStringLiteral("a  b")},
        {QStringLiteral(" \u00A0x\u00A0 "), QStringLiteral("  x  "), QStringLiteral("x")},
        {QStringLiteral("\t\n \x1F\r"), QStringLiteral("     "), QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        const Outcome o = run(c.input);
        EXPECT_EQ(o.var, c.var);
        EXPECT_EQ(o.result, c.result);
    }

    QString onlyLowCodes;
    for (char16_t c = 1; c <= 32; ++c)
        onlyLowCodes += QChar(c);
    const Outcome low = run(onlyLowCodes);
    EXPECT_EQ(low.var, QString(32, u' '));
    EXPECT_EQ(low.result, QString());
}

TEST(Filt, TrimmingLeavesOtherWhiteSpaceAndTheNulAlone)
{
    // The result loses spaces only: a NUL or a character that is not in the table keeps
    // its place at either end.
    const QString nul(QChar(u'\0'));
    EXPECT_EQ(run(QStringLiteral(" ") + nul + QStringLiteral(" a ") + nul + QStringLiteral(" ")).result,
              nul + QStringLiteral(" a ") + nul);
    EXPECT_EQ(run(QStringLiteral(" \u3000a\u0085 ")).result, QStringLiteral("\u3000a\u0085"));
}

TEST(Filt, LongMixedLineMatchesCharacterByCharacter)
{
    // A long line with replacements of every length spread through it: the result must be
    // each character's own replacement, in order, with nothing lost at the seams.
    QRandomGenerator random(20240531);
    QString input;
    QString expected;
    for (int i = 0; i < 50000; ++i) {
        const int pick = static_cast<int>(random.bounded(10));
        int code;
        if (pick < 6)
            code = 'a' + static_cast<int>(random.bounded(26));
        else
            code = 1 + static_cast<int>(random.bounded(255));
        input += characterFor(code);
        expected += expectedFor(code);
    }
    input = u'x' + input + u'x';
    expected = u'x' + expected + u'x';

    const Outcome o = run(input);
    EXPECT_EQ(o.var.size(), expected.size());
    EXPECT_TRUE(o.var == expected);
    EXPECT_TRUE(o.result == expected);
}

TEST(Filt, TextMadeOfTheLongestReplacementsGrowsSeventeenfold)
{
    for (const char16_t c : {u'\u00B2', u'\u00B0', u'\u2021'}) {
        const QString one = expectedFor(c == u'\u2021' ? 135 : c);
        QString input(5000, QChar(c));
        QString expected;
        for (int i = 0; i < 5000; ++i)
            expected += one;
        const Outcome o = run(input);
        EXPECT_TRUE(o.var == expected) << one.toStdString();
        EXPECT_EQ(o.result.size(), expected.size());
    }
}

TEST(Filt, RewritesTheCallersTextOnlyWhenPassedByReference)
{
    // Through the program's wrapper, as the conversation turn calls it: the variable is
    // rewritten, untrimmed; a temporary leaves the caller's own text alone.
    jabbly::Sayline s = sayline_test::sayline();
    QString line = QStringLiteral(" 2^3 ");
    EXPECT_EQ(s.filt(line), QStringLiteral("2carat3"));
    EXPECT_EQ(line, QStringLiteral(" 2carat3 "));

    const QString name = QStringLiteral("Zoë");
    QString joined = name + QStringLiteral(": ") + line;
    EXPECT_EQ(s.filt(joined), QStringLiteral("Zoe:  2carat3"));
    EXPECT_EQ(name, QStringLiteral("Zoë"));
}

TEST(Filt, DispatchRejectsWhatIsNotOneText)
{
    jabbly::Dispatch &d = sayline_test::component();
    std::array<jabbly::Variant, 1> number{jabbly::Variant(int16_t{5})};
    EXPECT_EQ(errorNumber([&] { d.Invoke(jabbly::sayline::filt, number); }), jabbly::err::TypeMismatch);

    std::array<jabbly::Variant, 2> two{jabbly::Variant(QStringLiteral("a")), jabbly::Variant(QStringLiteral("b"))};
    EXPECT_EQ(errorNumber([&] { d.Invoke(jabbly::sayline::filt, two); }), jabbly::err::WrongArgumentCount);
    EXPECT_EQ(std::get<QString>(two[0]), QStringLiteral("a"));

    std::array<jabbly::Variant, 1> text{jabbly::Variant(QStringLiteral("x"))};
    EXPECT_EQ(errorNumber([&] { d.Invoke(jabbly::sayline::filt + 1, text); }), jabbly::err::NotSupported);
    EXPECT_EQ(errorNumber([&] { d.Invoke(jabbly::FirstMember - 1, text); }), jabbly::err::NotSupported);
}
