// Word learning: which pieces of a line become known words.
#include "WordLearning.h"

#include "Components.h"
#include "ErrorNumber.h"
#include "FindExactDispatch.h"
#include "ItemListModel.h"

#include "QtPrinters.h"

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
    WordLearning learning{HidWord, [this]() -> ItemList & { ++lstAIAsked; return lstAI; }, rowkit};
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
    EXPECT_EQ(WordLearning::cleanLine("e-mail snake_case x2\ty été £5 & % = +"), "e-mail snake_case x2\ty été £5 & % = +");
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

}  // namespace
