// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One turn spoken by the real espeak-ng into memory: the user's line and the reply, each
// through the Sayline filter, queued without the turn waiting for the sound.
#include "SpeechTesting.h"

#include "components/ComponentLibrary.h"
#include "components/Components.h"
#include "lists/ItemListModel.h"
#include "conversation/RandomGenerator.h"
#include "RecordingTranscript.h"
#include "session/SpeechSettings.h"
#include "session/SpokenTurn.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

using namespace jabbly;

namespace {

struct NoInput : InputBox {
    void selectAll() override {}
};

struct NoCommands : CommandRunner {
    void run(Command) override {}
};

}  // namespace

TEST(SpokenTurn, ATurnIsSpokenByEspeakIntoMemory)
{
    speech_test::TestEngine t;
    ComponentLibrary saylineLibrary(jabbly::testing::binFolder(), QStringLiteral("Sayline"), SaylineFactory);
    ComponentLibrary rowkitLibrary(jabbly::testing::binFolder(), QStringLiteral("Rowkit"), RowkitFactory);
    Sayline sayline(saylineLibrary.instance());
    Rowkit rowkit(rowkitLibrary.instance());

    jabbly::testing::RecordingTranscript WW;
    NoInput Say1;
    NoCommands commands;
    ItemListModel HidWord{true}, HidCPU{false}, lstAI{true};
    HidWord.AddItem(QStringLiteral("jabbly"));
    HidCPU.AddItem(QStringLiteral("Nice to meet you, £NAME£."));
    RandomGenerator random(5);
    ConversationTurn turn(
        WW, Say1, HidWord, HidCPU, [&]() -> ItemList & { return lstAI; }, rowkit, random, commands);
    SpokenTurn speaker(sayline, t.engine.get(), [] { return SpeechSwitches{true, false}; });
    turn.setSpeaker(&speaker);

    QString name = QStringLiteral("Ann"), line = QStringLiteral("I have 2^3 cats");
    turn.Process(name, line);
    ASSERT_TRUE(t.state->waitFor([&] { return t.state->utterances.size() == 2; }));
    EXPECT_EQ(WW.texts(jabbly::testing::RecordingTranscript::Command), QStringList{});
    EXPECT_NE(HidWord.FindStringExact(QStringLiteral("2carat3")), -1);
    for (const std::vector<int16_t> &utterance : t.state->utterances) {
        EXPECT_GT(speech_test::seconds(utterance, t.state->sampleRate), 0.3);
        EXPECT_GT(speech_test::peak(utterance), 1000);
    }
}
