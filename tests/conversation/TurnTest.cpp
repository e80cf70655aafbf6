// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One turn, driven directly: guard, echo, the three branches and the mends.
#include "conversation/Turn.h"

#include "components/Components.h"
#include "FakeFileServices.h"
#include "FindExactDispatch.h"
#include "lists/ItemListModel.h"
#include "RecordingTranscript.h"
#include "ScriptedRandom.h"
#include "conversation/Transcript.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

using namespace jabbly;
using namespace jabbly::testing;
using W = RecordingTranscript::Write;

namespace {

class FakeInput : public InputBox {
public:
    void selectAll() override { ++selections; }
    int selections = 0;
};

class FakeCommands : public CommandRunner {
public:
    void run(Command command) override
    {
        ran.append(command);
        if (action)
            action(command);
    }
    QList<Command> ran;
    std::function<void(Command)> action;
};

class FakeSpeaker : public TurnSpeaker {
public:
    void speakUserLine(const QString &NameNo, QString &Say) override
    {
        userLines.append(NameNo + "|" + Say);
        if (userFailure)
            throw *userFailure;
        if (rewrite)
            Say = rewrite(Say);
    }
    void speakReply(const QString &reply) override
    {
        replies.append(reply);
        if (replyFailure)
            throw *replyFailure;
    }
    QStringList userLines, replies;
    std::function<QString(const QString &)> rewrite;
    std::optional<Error> userFailure, replyFailure;
};

class TurnTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HidWord.AddItem("jabbly");
        HidCPU.AddItem("Tell me more, £NAME£.");
        turn = std::make_unique<ConversationTurn>(
            WW, Say1, HidWord, HidCPU, [this]() -> ItemList & { return lstAI; }, rowkit, random, commands,
            QLocale(QLocale::English, QLocale::UnitedKingdom));
    }

    void process(const QString &name, const QString &line)
    {
        QString NameNo = name, Say = line;
        turn->Process(NameNo, Say);
        EXPECT_EQ(NameNo, name);
    }

    // Writes after the echo of the last turn.
    QList<W> echoed(const QString &name, const QString &line) const
    {
        return {{RecordingTranscript::Name, name + ": "}, {RecordingTranscript::SayPerson, line}};
    }
    static QList<W> reply(const QString &text)
    {
        return {{RecordingTranscript::Name, "CPU: "}, {RecordingTranscript::SayCPU, text}};
    }
    static W note(const QString &text) { return {RecordingTranscript::Command, text}; }

    RecordingTranscript WW;
    FakeInput Say1;
    ItemListModel HidWord{true}, HidCPU{false}, lstAI{true};
    FindExactDispatch rowkitComponent;
    Rowkit rowkit{rowkitComponent};
    ScriptedRandom random;
    FakeCommands commands;
    std::unique_ptr<ConversationTurn> turn;
};

TEST_F(TurnTest, EmptyNameOrLineDoesNothingAtAll)
{
    FakeSpeaker speaker;
    turn->setSpeaker(&speaker);
    process("", "hello there");
    process("Human", "");
    process("", "");
    EXPECT_TRUE(WW.writes.isEmpty());
    EXPECT_EQ(Say1.selections, 0);
    EXPECT_EQ(HidWord.items(), QStringList{"jabbly"});
    EXPECT_EQ(random.draws, 0);
    EXPECT_TRUE(speaker.userLines.isEmpty());
    EXPECT_EQ(HidCPU.ListIndex(), -1);
}

TEST_F(TurnTest, EchoShowsTheLineAsTypedAndSelectsTheInput)
{
    process("Ann", "I Like CATS");
    EXPECT_EQ(Say1.selections, 1);
    ASSERT_GE(WW.writes.size(), 2);
    EXPECT_EQ(WW.writes.mid(0, 2), echoed("Ann", "I Like CATS"));
    // Learned lower-cased.
    EXPECT_EQ(HidWord.items(), (QStringList{"cats", "i", "jabbly", "like"}));
}

TEST_F(TurnTest, CannedExchangesInAnyCase)
{
    FakeSpeaker speaker;
    turn->setSpeaker(&speaker);
    const struct {
        const char *line, *written, *spoken;
    } cases[] = {
        {"hello", "Hello", "Hello."},
        {"HELLO", "Hello", "Hello."},
        {"How Are You?", "I'm fine, how are you?", "I'm fine, how are you?"},
        {"bye", "See you later.", "See you later."},
    };
    for (const auto &c : cases) {
        WW.writes.clear();
        speaker.replies.clear();
        process("Human", c.line);
        EXPECT_EQ(WW.writes, echoed("Human", c.line) + reply(c.written)) << c.line;
        EXPECT_EQ(speaker.replies, QStringList{c.spoken}) << c.line;
    }
    EXPECT_EQ(HidWord.items(), QStringList{"jabbly"});
    EXPECT_TRUE(commands.ran.isEmpty());
    EXPECT_EQ(random.draws, 0);
}

TEST_F(TurnTest, NearlyCannedLinesAreLearnedAndAnswered)
{
    for (const char *line : {"hello ", "hello!", "how are you"}) {
        WW.writes.clear();
        process("Human", line);
        EXPECT_EQ(WW.writes, echoed("Human", line) + reply("Tell me more, Human.")) << line;
    }
    EXPECT_EQ(HidWord.items(), (QStringList{"are", "hello", "how", "jabbly", "you"}));
}

TEST_F(TurnTest, CommandsRunInAnyCaseAndAreNeitherLearnedNorAnswered)
{
    FakeSpeaker speaker;
    turn->setSpeaker(&speaker);
    const std::pair<const char *, Command> cases[] = {
        {"[TIME]", Command::Time},         {"[Date]", Command::Date}, {"[swap]", Command::Swap},
        {"[version]", Command::Version},   {"[eXit]", Command::Exit}, {"[speech]", Command::Speech},
        {"[COMMANDS]", Command::Commands},
    };
    for (const auto &[line, command] : cases) {
        WW.writes.clear();
        commands.ran.clear();
        process("Human", line);
        EXPECT_EQ(commands.ran, QList<Command>{command}) << line;
        EXPECT_EQ(WW.writes, echoed("Human", line)) << line;
    }
    EXPECT_EQ(HidWord.items(), QStringList{"jabbly"});
    EXPECT_EQ(random.draws, 0);
    // The user's command line is spoken; no answer is.
    EXPECT_EQ(speaker.userLines.size(), 7);
    EXPECT_TRUE(speaker.replies.isEmpty());
    EXPECT_EQ(Say1.selections, 7);
}

TEST_F(TurnTest, BlanksAroundACommandMakeAnOrdinaryLine)
{
    process("Human", " [time]");
    process("Human", "[foo]");
    EXPECT_TRUE(commands.ran.isEmpty());
    EXPECT_EQ(HidWord.items(), (QStringList{"foo", "jabbly", "time"}));
    EXPECT_EQ(lstAI.items(), (QStringList{"foo", "time"}));
    EXPECT_EQ(WW.texts(RecordingTranscript::SayCPU).size(), 2);
}

TEST_F(TurnTest, BlankLineIsEchoedAndAnsweredButTeachesNothing)
{
    process("Human", "   ");
    EXPECT_EQ(WW.writes, echoed("Human", "   ") + reply("Tell me more, Human."));
    EXPECT_EQ(HidWord.items(), QStringList{"jabbly"});
    EXPECT_EQ(random.draws, 58);
}

TEST_F(TurnTest, WordsOfThisLineCanAppearInItsReply)
{
    HidCPU.Clear();
    HidCPU.AddItem("So, £WORDP1£?");
    // After learning, HidWord is {jabbly, zebra}: pass 1's proper-case draw picks item 1.
    random.script = {0.0f, 0.0f, ScriptedRandom::pick(1, 2)};
    process("Human", "Zebra");
    EXPECT_EQ(WW.texts(RecordingTranscript::SayCPU), QStringList{"So, Zebra?"});
}

TEST_F(TurnTest, SpeakerMayRewriteTheLineAfterTheEcho)
{
    FakeSpeaker speaker;
    speaker.rewrite = [](const QString &s) { return QString(s).replace("^", "carat"); };
    turn->setSpeaker(&speaker);
    process("Ann", "2^3");
    EXPECT_EQ(speaker.userLines, QStringList{"Ann|2^3"});
    EXPECT_EQ(WW.writes.mid(0, 2), echoed("Ann", "2^3"));
    EXPECT_EQ(HidWord.items(), (QStringList{"2carat3", "jabbly"}));
    EXPECT_EQ(speaker.replies, QStringList{"Tell me more, Ann."});

    // A rewrite into a command makes it one.
    speaker.rewrite = [](const QString &) { return QStringLiteral("[Time]"); };
    process("Ann", "what time is it");
    EXPECT_EQ(commands.ran, QList<Command>{Command::Time});
}

TEST_F(TurnTest, WithoutASpeakerTheLineIsUsedAsTyped)
{
    process("Ann", "2^3");
    EXPECT_EQ(HidWord.items(), (QStringList{"2^3", "jabbly"}));
}

TEST_F(TurnTest, FailedSpeechIsReportedAndTheTurnGoesOn)
{
    FakeSpeaker speaker;
    speaker.userFailure = Error(err::CannotCreateObject, "no audio device");
    turn->setSpeaker(&speaker);
    process("Ann", "hello");
    EXPECT_EQ(WW.writes,
              echoed("Ann", "hello") +
                  QList<W>{note(ConversationTurn::speechFailedNotice(err::CannotCreateObject, "no audio device"))} +
                  reply("Hello"));

    WW.writes.clear();
    speaker.userFailure.reset();
    speaker.replyFailure = Error(err::InvalidArgument, "busy");
    process("Ann", "bye");
    EXPECT_EQ(WW.writes, echoed("Ann", "bye") + reply("See you later.") +
                             QList<W>{note(ConversationTurn::speechFailedNotice(err::InvalidArgument, "busy"))});
}

TEST_F(TurnTest, FailedStepIsReportedAndTheEchoStays)
{
    rowkitComponent.failure = Error(err::TypeMismatch, "Type mismatch");
    process("Ann", "anything");
    EXPECT_EQ(WW.writes, echoed("Ann", "anything") +
                             QList<W>{note(ConversationTurn::turnFailedNotice(err::TypeMismatch, "Type mismatch"))});
    EXPECT_TRUE(ConversationTurn::turnFailedNotice(13, "Type mismatch").contains("13"));

    // The next turn works again.
    rowkitComponent.failure.reset();
    WW.writes.clear();
    process("Ann", "hello");
    EXPECT_EQ(WW.writes, echoed("Ann", "hello") + reply("Hello"));

    // A failing command is reported the same way.
    commands.action = [](Command) { throw Error(err::Overflow, "Overflow"); };
    WW.writes.clear();
    process("Ann", "[date]");
    EXPECT_EQ(WW.writes,
              echoed("Ann", "[date]") + QList<W>{note(ConversationTurn::turnFailedNotice(err::Overflow, "Overflow"))});
}

TEST_F(TurnTest, EmptyReplyListIsReportedAfterLearning)
{
    HidCPU.Clear();
    FakeSpeaker speaker;
    turn->setSpeaker(&speaker);
    process("Ann", "quiet day");
    EXPECT_EQ(WW.writes, echoed("Ann", "quiet day") + QList<W>{note(ConversationTurn::noRepliesNotice())});
    EXPECT_EQ(HidWord.items(), (QStringList{"day", "jabbly", "quiet"}));
    EXPECT_TRUE(speaker.replies.isEmpty());
    EXPECT_TRUE(ConversationTurn::noRepliesNotice().contains("cpu.txt"));
}

TEST_F(TurnTest, FullWordListStillAnswersAndSaysSoOnce)
{
    QStringList fill;
    for (int i = 1; i < ItemList::MaxItems; ++i)
        fill.append(QStringLiteral("w%1").arg(i, 5, 10, QLatin1Char('0')));
    HidWord.AddItems(fill);
    ASSERT_EQ(HidWord.ListCount(), ItemList::MaxItems);
    const QStringList before = HidWord.items();

    process("Ann", "w00001 brand new");
    EXPECT_EQ(WW.writes, echoed("Ann", "w00001 brand new") + reply("Tell me more, Ann.") +
                             QList<W>{note(ConversationTurn::wordListFullNotice())});
    WW.writes.clear();
    process("Ann", "more new words");
    EXPECT_EQ(WW.writes, echoed("Ann", "more new words") + reply("Tell me more, Ann."));
    EXPECT_EQ(HidWord.items(), before);
    EXPECT_TRUE(lstAI.items().isEmpty());
}

TEST_F(TurnTest, ExitTouchesNothingAfterClosing)
{
    // The close callback may end the window that owns the turn.
    commands.action = [this](Command c) {
        if (c == Command::Exit)
            turn.reset();
    };
    process("Ann", "[exit]");
    EXPECT_EQ(turn, nullptr);
    EXPECT_EQ(WW.writes, echoed("Ann", "[exit]"));
}

TEST_F(TurnTest, ATurnWritesInOneBatchThatEndsBeforeACommandRuns)
{
    FakeSpeaker speaker;
    speaker.userFailure = Error(err::CannotCreateObject, "no audio device");
    turn->setSpeaker(&speaker);
    process("Ann", "quiet day");  // composed reply, with a note from the speaker
    process("Ann", "hello");      // canned reply
    rowkitComponent.failure = Error(err::TypeMismatch, "Type mismatch");
    process("Ann", "anything");  // a failed step's note
    rowkitComponent.failure.reset();
    EXPECT_EQ(WW.batchesEnded, 3);
    EXPECT_EQ(WW.openBatches, 0);
    EXPECT_EQ(WW.writes.size(), 5 + 5 + 4);  // echo, speech note, reply or failure note
    EXPECT_EQ(WW.batchDepths, QList<int>(WW.writes.size(), 1));

    // A command runs after the batch that holds the echo has ended.
    int openWhileRunning = -1;
    commands.action = [&](Command) { openWhileRunning = WW.openBatches; };
    WW.batchDepths.clear();
    process("Ann", "[time]");
    EXPECT_EQ(openWhileRunning, 0);
    EXPECT_EQ(WW.batchDepths, (QList<int>{1, 1, 1}));  // echo, then the speaker's note
    EXPECT_EQ(WW.batchesEnded, 4);

    // Nothing happens: no batch either.
    process("", "hello");
    EXPECT_EQ(WW.batchesEnded, 4);
}

TEST_F(TurnTest, ExitMayEndTheTranscriptToo)
{
    // The window that ends on "[exit]" takes its transcript with it: the turn's batch must
    // not touch it afterwards (AddressSanitizer catches a use after free here).
    auto transcript = std::make_unique<RecordingTranscript>();
    auto own = std::make_unique<ConversationTurn>(
        *transcript, Say1, HidWord, HidCPU, [this]() -> ItemList & { return lstAI; }, rowkit, random, commands);
    commands.action = [&](Command c) {
        if (c == Command::Exit) {
            EXPECT_EQ(transcript->openBatches, 0);
            own.reset();
            transcript.reset();
        }
    };
    QString NameNo = "Ann", Say = "[exit]";
    own->Process(NameNo, Say);
    EXPECT_EQ(own, nullptr);
    EXPECT_EQ(transcript, nullptr);
}

}  // namespace
