// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Word learning: which pieces of a line become known words.
#include "conversation/WordLearning.h"

#include "components/Components.h"
#include "ErrorNumber.h"
#include "FindExactDispatch.h"
#include "lists/ItemListModel.h"

#include "QtPrinters.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace jabbly;
using jabbly::testing::FindExactDispatch;

namespace {

class LearningTest : public ::testing::Test {
protected:
    WordLearning::Result learn(const QString &line) { return learning.learn(line); }
    QStringList words() const { return HidWord.items(); }
    QStringList added() const { return lstAI.items(); }

    ItemListModel HidWord{true};
    ItemListModel lstAI{true};
    int lstAIAsked = 0;
    FindExactDispatch rowkitComponent;
    Rowkit rowkit{rowkitComponent};
    WordLearning learning{HidWord,
                          [this]() -> ItemList & {
                              ++lstAIAsked;
                              return lstAI;
                          },
                          rowkit};
};

TEST(CleanLine, PunctuationTable)
{
    EXPECT_EQ(WordLearning::cleanLine("john's cats, dogs and/or birds!"), "john cats dogs and or birds");
    EXPECT_EQ(WordLearning::cleanLine("don't"), "dont");
    EXPECT_EQ(WordLearning::cleanLine("3.14"), "314");
    EXPECT_EQ(WordLearning::cleanLine("\"quoted\" [foo] (bar) <baz> {qux}"), "quoted foo bar baz qux");
    EXPECT_EQ(WordLearning::cleanLine("a\\b?c!d:e;f#g@h*i"), "abcdefghi");
    EXPECT_EQ(WordLearning::cleanLine("a/b//c"), "a b  c");
    // Kept: hyphens, underscores, digits, tabs, other scripts, other symbols.
    EXPECT_EQ(WordLearning::cleanLine("e-mail snake_case x2\ty été £5 & % = +"),
              "e-mail snake_case x2\ty été £5 & % = +");
}

TEST(CleanLine, ApostropheSIsRemovedBeforeTheApostrophes)
{
    // "'s" goes first, so the s after an apostrophe goes with it...
    EXPECT_EQ(WordLearning::cleanLine("it's"), "it");
    EXPECT_EQ(WordLearning::cleanLine("'s's"), "");
    // ...but the removal does not look again at what it leaves: "''ss" loses one "'s",
    // then the remaining apostrophe.
    EXPECT_EQ(WordLearning::cleanLine("''ss"), "s");
    // Only a lower-case s: the turn lower-cases the line before learning.
    EXPECT_EQ(WordLearning::cleanLine("it'S"), "itS");
}

TEST_F(LearningTest, LearnsEveryNewWordOfTheLineInBothLists)
{
    const auto result = learn("john's cats, dogs and/or birds!");
    const QStringList expected{"and", "birds", "cats", "dogs", "john", "or"};
    EXPECT_EQ(words(), expected);
    EXPECT_EQ(added(), expected);
    EXPECT_EQ(result.added, 6);
    EXPECT_EQ(result.notLearned, 0);
}

TEST_F(LearningTest, OddPieces)
{
    learn("don't 3.14 e-mail tab\there");
    EXPECT_EQ(words(), (QStringList{"314", "dont", "e-mail", "tab\there"}));
}

TEST_F(LearningTest, BlanksNeverMakeAnEmptyWord)
{
    learn("  two  blanks   ");
    EXPECT_EQ(words(), (QStringList{"blanks", "two"}));
    learn("     ");
    learn("!?.,");
    EXPECT_EQ(words(), (QStringList{"blanks", "two"}));
    EXPECT_EQ(rowkitComponent.calls, 2);
}

TEST_F(LearningTest, KnownWordsInAnyCaseAreNotAddedAgain)
{
    HidWord.AddItem("Paris");
    const auto result = learn("paris is nice");
    EXPECT_EQ(words(), (QStringList{"is", "nice", "Paris"}));
    EXPECT_EQ(added(), (QStringList{"is", "nice"}));
    EXPECT_EQ(result.added, 2);
}

TEST_F(LearningTest, AWordTwiceInOneLineIsAddedOnce)
{
    learn("moon and moon and moon");
    EXPECT_EQ(words(), (QStringList{"and", "moon"}));
    EXPECT_EQ(added(), (QStringList{"and", "moon"}));
}

TEST_F(LearningTest, WordsAddedWindowIsOnlyAskedForWhenAWordIsAdded)
{
    HidWord.AddItem("known");
    learn("known known");
    EXPECT_EQ(lstAIAsked, 0);
    learn("known new");
    EXPECT_EQ(lstAIAsked, 1);
}

TEST_F(LearningTest, FullWordListLearnsNothingMoreAndKeepsWhatItHas)
{
    QStringList fill;
    for (int i = 0; i < ItemList::MaxItems; ++i)
        fill.append(QStringLiteral("w%1").arg(i, 5, 10, QLatin1Char('0')));
    HidWord.AddItems(fill);
    ASSERT_EQ(HidWord.ListCount(), ItemList::MaxItems);

    WordLearning::Result result;
    EXPECT_EQ(jabbly::testing::errorNumber([&] { result = learn("w00007 brand new w00008"); }), 0);
    EXPECT_EQ(result.added, 0);
    EXPECT_EQ(result.notLearned, 2);
    EXPECT_EQ(HidWord.items(), fill);
    EXPECT_TRUE(added().isEmpty());
}

TEST_F(LearningTest, ALookupFailurePassesToTheCaller)
{
    rowkitComponent.failure = Error(err::TypeMismatch, "Type mismatch");
    EXPECT_EQ(jabbly::testing::errorNumber([&] { learn("word"); }), err::TypeMismatch);
    EXPECT_TRUE(words().isEmpty());
}

// What learning means, one word at a time: each piece that ListFindExact does not find goes
// into HidWord and then lstAI the moment it is met, while there is room.
WordLearning::Result learnOneByOne(const QString &line, ItemList &HidWord, ItemList &lstAI)
{
    WordLearning::Result result;
    for (const QString &piece : WordLearning::cleanLine(line).split(u' ', Qt::SkipEmptyParts)) {
        if (HidWord.FindStringExact(piece) != -1)
            continue;
        if (HidWord.ListCount() >= ItemList::MaxItems) {
            ++result.notLearned;
            continue;
        }
        HidWord.AddItem(piece);
        ++result.added;
        if (lstAI.ListCount() < ItemList::MaxItems)
            lstAI.AddItem(piece);
    }
    return result;
}

QStringList numbered(const QString &prefix, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out.append(prefix + QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')));
    return out;
}

TEST_F(LearningTest, LearnsWhatAddingOneWordAtATimeWould)
{
    const struct {
        const char *line;
        int roomInHidWord;  // -1: plenty
        int roomInLstAI;
    } cases[] = {
        {"moon and moon and moon", -1, -1},
        {"Zebra zebra ZEBRA été ÉTÉ Été paris PARIS", -1, -1},  // HidWord holds Paris
        {"b a c b a d e a f", 3, -1},                           // fills up part-way, repeats after
        {"new1 old new2 new1 new3 new3 new4", 2, -1},
        {"x y z y x w", -1, 2},  // lstAI fills, HidWord does not
        {"q r s", 0, -1},        // full from the start
    };
    for (const auto &c : cases) {
        ItemListModel caseWords{true}, caseAdded{true}, expectedWords{true}, expectedAdded{true};
        const QStringList start =
            QStringList{"Paris"} + numbered("w", (c.roomInHidWord < 0 ? 10 : ItemList::MaxItems - c.roomInHidWord) - 1);
        for (ItemListModel *l : {&caseWords, &expectedWords})
            l->AddItems(start);
        if (c.roomInLstAI >= 0)
            for (ItemListModel *l : {&caseAdded, &expectedAdded})
                l->AddItems(numbered("a", ItemList::MaxItems - c.roomInLstAI));

        QSignalSpy inserted(&caseWords, &QAbstractItemModel::rowsInserted),
            reset(&caseWords, &QAbstractItemModel::modelReset);
        WordLearning caseLearning(
            caseWords, [&]() -> ItemList & { return caseAdded; }, rowkit);
        const WordLearning::Result result = caseLearning.learn(c.line);
        const WordLearning::Result expected = learnOneByOne(c.line, expectedWords, expectedAdded);

        EXPECT_EQ(caseWords.items(), expectedWords.items()) << c.line;
        EXPECT_EQ(caseAdded.items(), expectedAdded.items()) << c.line;
        EXPECT_EQ(result.added, expected.added) << c.line;
        EXPECT_EQ(result.notLearned, expected.notLearned) << c.line;
        // One batch: the words list tells its views once at most.
        EXPECT_LE(inserted.count() + reset.count(), 1) << c.line;
    }
}

TEST_F(LearningTest, WordsMetBeforeAFailedLookupAreLearned)
{
    // The component fails on its third lookup; "beta" and "gamma" came first.
    struct FailingThird : FindExactDispatch {
        Variant Invoke(int32_t member, std::span<Variant> a) override
        {
            if (calls == 2)
                failure = Error(err::TypeMismatch, "Type mismatch");
            return FindExactDispatch::Invoke(member, a);
        }
    } component;
    Rowkit failing{component};
    WordLearning failingLearning(
        HidWord, [this]() -> ItemList & { return lstAI; }, failing);
    EXPECT_EQ(jabbly::testing::errorNumber([&] { failingLearning.learn("gamma beta alpha delta"); }),
              err::TypeMismatch);
    EXPECT_EQ(words(), (QStringList{"beta", "gamma"}));
    EXPECT_EQ(added(), (QStringList{"beta", "gamma"}));
}

}  // namespace
