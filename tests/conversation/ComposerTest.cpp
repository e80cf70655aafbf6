// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reply composition: template choice, the token passes and the texts they put in.
#include "conversation/ReplyComposer.h"

#include "lists/ItemListModel.h"
#include "ScriptedRandom.h"

#include <QRegularExpression>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <map>

using namespace jabbly;
using jabbly::testing::ScriptedRandom;

namespace {

const QLocale UK(QLocale::English, QLocale::UnitedKingdom);
const QLocale German(QLocale::German, QLocale::Germany);

struct Draw {
    int i = 0, j = 0, m = 1;  // word index, proper-case word index, number
};

class ComposerTest : public ::testing::Test {
protected:
    void SetUp() override { HidWord.AddItems({"cats", "bus", "s", "NEW YORK", "e-mail", "BOSS", "moon", "kiss"}); }

    int at(const QString &word) const { return HidWord.FindStringExact(word); }

    // Draws that pick template `k` and, in pass n, the words and number given for n.
    void script(int k, const std::map<int, Draw> &passes)
    {
        const int words = HidWord.ListCount();
        random.draws = 0;
        random.script = {ScriptedRandom::pick(k, HidCPU.ListCount())};
        for (int n = 1; n <= 19; ++n) {
            const Draw d = passes.contains(n) ? passes.at(n) : Draw{};
            random.script.append(words > 0 ? ScriptedRandom::pick(d.i, words) : 0.0f);
            random.script.append(words > 0 ? ScriptedRandom::pick(d.j, words) : 0.0f);
            random.script.append(ScriptedRandom::number(d.m));
        }
    }

    QString compose(const QString &name = "Ann")
    {
        const std::optional<QString> reply = composer.compose(name);
        EXPECT_TRUE(reply.has_value());
        return reply.value_or(QString());
    }

    ItemListModel HidWord{true};
    ItemListModel HidCPU{false};
    ScriptedRandom random;
    ReplyComposer composer{HidWord, HidCPU, random, UK};
};

TEST_F(ComposerTest, TemplateIsDrawnAndSelected)
{
    HidCPU.AddItems({"first", "second", "third"});
    script(2, {});
    EXPECT_EQ(compose(), "third");
    EXPECT_EQ(HidCPU.ListIndex(), 2);
    script(0, {});
    EXPECT_EQ(compose(), "first");
    EXPECT_EQ(HidCPU.ListIndex(), 0);
}

TEST_F(ComposerTest, EveryReplyMakes58DrawsInPassOrder)
{
    HidCPU.AddItem("£NUMBER1£ £WORD1£ £WORDP1£ £NUMBER19£ £WORD19£ £WORDP19£");
    script(0, {{1, {at("moon"), at("e-mail"), 7}}, {19, {at("bus"), at("cats"), 482}}});
    EXPECT_EQ(compose(), "7 moon E-mail 482 bu Cat");
    EXPECT_EQ(random.draws, 58);

    HidCPU.Clear();
    HidCPU.AddItem("no tokens at all");
    random.draws = 0;
    random.script.clear();
    EXPECT_EQ(compose(), "no tokens at all");
    EXPECT_EQ(random.draws, 58);
}

TEST_F(ComposerTest, RepeatedTokensShareOneTextAndPassesAreIndependent)
{
    HidCPU.AddItem("£WORD1£ £WORD1£ £WORD2£ £WORDP2£ £WORDP2£ £NUMBER3£/£NUMBER3£ £WORD3£");
    script(0, {{1, {at("moon"), 0, 1}}, {2, {at("moon"), at("kiss"), 1}}, {3, {at("cats"), 0, 2500}}});
    EXPECT_EQ(compose(), "moon moon moon Kis Kis 2,500/2,500 cat");
}

TEST_F(ComposerTest, TokensOutsideThePassesStayUnchanged)
{
    const QString tmpl = "£WORD20£ £word1£ £WORD01£ £WORD0£ £NUMBER£ £WORDP£ £Name£ £NAME £WORDP1 WORD1£ £NUMBER-1£";
    HidCPU.AddItem(tmpl);
    script(0, {});
    EXPECT_EQ(compose(), tmpl);
    EXPECT_EQ(random.draws, 58);
}

TEST_F(ComposerTest, NameComesFirstAndLaterPassesExpandWhatItBrings)
{
    HidCPU.AddItem("£NAME£ says £NAME£");
    script(0, {{4, {at("moon"), 0, 1}}});
    EXPECT_EQ(compose("£WORD4£-£NAME£"), "moon-£NAME£ says moon-£NAME£");
}

TEST_F(ComposerTest, InsertedTextIsSearchedByLaterReplacementsOnly)
{
    HidWord.Clear();
    // A word holding its own token stays as it is; one holding the same pass's proper-case
    // token or a later pass's token is expanded there.
    HidWord.AddItems({"£WORD1£", "£WORDP1£", "£NUMBER1£", "£WORD2£x", "moon"});
    HidCPU.AddItem("[£WORD1£] [£WORD2£] [£WORDP3£]");
    script(0, {{1, {at("£WORD1£"), at("moon"), 9}}, {2, {at("£WORDP1£"), 0, 1}}, {3, {0, at("£WORD2£x"), 1}}});
    // Pass 3's proper case makes "£word2£x", which no pass looks for.
    EXPECT_EQ(compose(), "[£WORD1£] [£WORDP1£] [£word2£x]");

    HidCPU.Clear();
    HidCPU.AddItem("<£WORD1£>");
    script(0, {{1, {at("£WORDP1£"), at("moon"), 5}}});
    EXPECT_EQ(compose(), "<Moon>");
    script(0, {{1, {at("£NUMBER1£"), at("moon"), 5}}});
    EXPECT_EQ(compose(), "<5>");
    script(0, {{1, {at("£WORD2£x"), 0, 1}}, {2, {at("moon"), 0, 1}}});
    EXPECT_EQ(compose(), "<moonx>");
}

TEST_F(ComposerTest, TokensFormedAcrossAnInsertionAreFound)
{
    HidWord.Clear();
    HidWord.AddItems({"", "moon"});
    // Pass 1 puts an empty word between "£WORDP" and "1£", forming £WORDP1£, which the same
    // pass's proper-case replacement then finds.
    HidCPU.AddItem("£WORDP£WORD1£1£");
    script(0, {{1, {at(""), at("moon"), 1}}});
    EXPECT_EQ(compose(), "Moon");
}

TEST_F(ComposerTest, NumbersRunFromOneToTenThousandWithTheLocaleSeparator)
{
    HidCPU.AddItem("£NUMBER1£ £NUMBER2£");
    script(0, {{1, {0, 0, 1}}, {2, {0, 0, 10000}}});
    EXPECT_EQ(compose(), "1 10,000");
    random.draws = 0;
    random.script = {0.0f};
    for (int n = 1; n <= 19; ++n)
        random.script.append({0.0f, 0.0f, std::nextafter(1.0f, 0.0f)});
    EXPECT_EQ(compose(), "10,000 10,000");

    composer.setLocale(German);
    script(0, {{1, {0, 0, 3051}}, {2, {0, 0, 10000}}});
    EXPECT_EQ(compose(), "3.051 10.000");
}

TEST(FormatNumber, GroupsOfThreeFromTheRight)
{
    EXPECT_EQ(ReplyComposer::formatNumber(7, ","), "7");
    EXPECT_EQ(ReplyComposer::formatNumber(482, ","), "482");
    EXPECT_EQ(ReplyComposer::formatNumber(1000, ","), "1,000");
    EXPECT_EQ(ReplyComposer::formatNumber(3051, ","), "3,051");
    EXPECT_EQ(ReplyComposer::formatNumber(10000, ","), "10,000");
    EXPECT_EQ(ReplyComposer::formatNumber(1234567, "."), "1.234.567");
    EXPECT_EQ(ReplyComposer::formatNumber(123456, "\u202f"), "123\u202f456");
}

TEST(ProperCase, FirstLetterOfEachWordUp)
{
    EXPECT_EQ(ReplyComposer::properCase("paris"), "Paris");
    EXPECT_EQ(ReplyComposer::properCase("e-mail"), "E-mail");
    EXPECT_EQ(ReplyComposer::properCase("NEW YORK"), "New York");
    EXPECT_EQ(ReplyComposer::properCase("mcDonald o'neil"), "Mcdonald O'neil");
    EXPECT_EQ(ReplyComposer::properCase(QString("a\tb\nc\rd\ve\ff") + QChar(0) + "g"),
              QString("A\tB\nC\rD\vE\fF") + QChar(0) + "G");
    EXPECT_EQ(ReplyComposer::properCase("  two  blanks "), "  Two  Blanks ");
    EXPECT_EQ(ReplyComposer::properCase("été ÉCOLE"), "Été École");
    EXPECT_EQ(ReplyComposer::properCase(""), "");
    // Letters outside the Basic Multilingual Plane: Deseret and Adlam.
    EXPECT_EQ(ReplyComposer::properCase(QString::fromUtf8("\U00010428\U00010429 \U00010400\U00010401")),
              QString::fromUtf8("\U00010400\U00010429 \U00010400\U00010429"));
    EXPECT_EQ(ReplyComposer::properCase(QString::fromUtf8("\U0001E922\U0001E900")),
              QString::fromUtf8("\U0001E900\U0001E922"));
    // A half of a pair on its own stays as it is.
    EXPECT_EQ(ReplyComposer::properCase(QString(QChar(0xD801)) + "ab"), QString(QChar(0xD801)) + "ab");
}

TEST(TrailingS, OneLowerCaseSIsDropped)
{
    EXPECT_EQ(ReplyComposer::dropTrailingS("cats"), "cat");
    EXPECT_EQ(ReplyComposer::dropTrailingS("bus"), "bu");
    EXPECT_EQ(ReplyComposer::dropTrailingS("kiss"), "kis");
    EXPECT_EQ(ReplyComposer::dropTrailingS("s"), "");
    EXPECT_EQ(ReplyComposer::dropTrailingS("BOSS"), "BOSS");
    EXPECT_EQ(ReplyComposer::dropTrailingS("moon"), "moon");
    EXPECT_EQ(ReplyComposer::dropTrailingS(""), "");
}

TEST_F(ComposerTest, WordTokensUseTheTrailingSAndProperCaseRules)
{
    HidCPU.AddItem("£WORD1£|£WORDP1£|£WORD2£|£WORDP2£|£WORD3£|£WORDP3£");
    script(0, {{1, {at("s"), at("s"), 1}}, {2, {at("BOSS"), at("BOSS"), 1}}, {3, {at("NEW YORK"), at("NEW YORK"), 1}}});
    EXPECT_EQ(compose(), "||BOSS|Boss|NEW YORK|New York");
}

TEST_F(ComposerTest, NoTemplatesGiveNoReplyAndNoDraws)
{
    EXPECT_FALSE(composer.compose("Ann").has_value());
    EXPECT_EQ(random.draws, 0);
}

TEST_F(ComposerTest, EmptyTemplateGivesEmptyReply)
{
    HidCPU.AddItem("");
    EXPECT_EQ(compose(), "");
}

TEST_F(ComposerTest, EmptyWordListGivesEmptyWords)
{
    HidWord.Clear();
    HidCPU.AddItem("[£WORD1£][£WORDP2£][£NUMBER3£]");
    script(0, {{3, {0, 0, 42}}});
    EXPECT_EQ(compose(), "[][][42]");
    EXPECT_EQ(random.draws, 58);
}

TEST(ComposerSeeded, ConsumesExactly58DrawsAndFillsFromTheLists)
{
    ItemListModel HidWord{true}, HidCPU{false};
    HidWord.AddItems({"apple", "moon", "river", "tree", "cloud"});
    HidCPU.AddItems({"£WORD1£ £WORDP2£ £NUMBER3£ £NAME£", "£WORDP19£ and £WORD19£ (£NUMBER19£)"});
    RandomGenerator random(2024), twin(2024);
    ReplyComposer composer(HidWord, HidCPU, random, UK);

    QStringList known;
    for (const QString &w : HidWord.items()) {
        known.append(QRegularExpression::escape(ReplyComposer::dropTrailingS(w)));
        known.append(QRegularExpression::escape(ReplyComposer::properCase(ReplyComposer::dropTrailingS(w))));
    }
    const QString word = "(" + known.join('|') + ")";
    const QRegularExpression shapes[] = {
        QRegularExpression("^" + word + " " + word + " (\\d{1,3}|\\d{1,2},\\d{3}) Ann$"),
        QRegularExpression("^" + word + " and " + word + " \\((\\d{1,3}|\\d{1,2},\\d{3})\\)$"),
    };
    for (int reply = 0; reply < 40; ++reply) {
        const QString text = composer.compose("Ann").value_or("(none)");
        const int k = HidCPU.ListIndex();
        ASSERT_GE(k, 0);
        EXPECT_TRUE(shapes[k].match(text).hasMatch()) << text.toStdString();
        for (int draw = 0; draw < 58; ++draw)
            twin.Random(0, 0);
        // Both draw once more here, which keeps them in step for the next reply.
        EXPECT_EQ(random.Random(0, 30000), twin.Random(0, 30000)) << "after reply " << reply;
    }
}

TEST_F(ComposerTest, WordsHoldingTokensCannotMakeAReplyGrowWithoutBound)
{
    // One learned word that brings back every later token twice: filled in pass after
    // pass it would make the reply three times longer each time.
    QString bomb;
    for (int n = 2; n <= 19; ++n)
        bomb += QStringLiteral("£WORD%1££WORD%1£").arg(n);
    HidWord.Clear();
    HidWord.AddItem(bomb);
    HidCPU.AddItems({"Look: £WORD1£ £NUMBER1£ £NAME£"});
    script(0, {{1, {0, 0, 1234}}});
    const QString reply = compose();
    EXPECT_LE(reply.size(), ReplyComposer::MaxReplyLength);
    EXPECT_GT(reply.size(), ReplyComposer::MaxReplyLength - bomb.size());
    EXPECT_TRUE(reply.startsWith("Look: £WORD2£"));  // what passed the limit stayed as it was
    EXPECT_TRUE(reply.endsWith(" 1,234 Ann"));       // the other tokens were filled in
    EXPECT_EQ(random.draws, 58);

    // A long word that fits is quoted whole.
    const QString longWord(1024 * 1024, u'x');
    HidWord.Clear();
    HidWord.AddItem(longWord);
    script(0, {});
    EXPECT_EQ(compose(), "Look: " + longWord + " 1 Ann");
}

}  // namespace
