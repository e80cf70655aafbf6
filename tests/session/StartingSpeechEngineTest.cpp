// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The speech engine that starts on a thread of its own.
#include "session/StartingSpeechEngine.h"

#include "ErrorNumber.h"
#include "MockSpeechEngine.h"

#include <gtest/gtest.h>

#include <thread>

using namespace jabbly;
using jabbly::testing::errorNumber;
using jabbly::testing::MockSpeechEngine;
using ::testing::Return;

TEST(StartingSpeechEngine, StartsOnAThreadOfItsOwnAndForwardsEveryCallOnceStarted)
{
    std::thread::id startedOn;
    MockSpeechEngine *mock = nullptr;
    StartingSpeechEngine tts([&] {
        startedOn = std::this_thread::get_id();
        auto engine = std::make_unique<MockSpeechEngine>();
        mock = engine.get();
        EXPECT_CALL(*engine, Find(QString("Gender=1"))).WillOnce(Return(7));
        EXPECT_CALL(*engine, CountEngines()).WillOnce(Return(9));
        EXPECT_CALL(*engine, Speak(QString("hi")));
        EXPECT_CALL(*engine, setSpeed(150));
        return engine;
    });
    EXPECT_EQ(tts.Find("Gender=1"), 7);  // waits for the start
    EXPECT_NE(startedOn, std::this_thread::get_id());
    EXPECT_EQ(&tts.engine(), mock);
    EXPECT_EQ(tts.CountEngines(), 9);
    tts.Speak("hi");
    tts.setSpeed(150);
}

TEST(StartingSpeechEngine, AnEngineThatCouldNotStartFailsEveryCallWithItsReason)
{
    StartingSpeechEngine tts(
        []() -> std::unique_ptr<SpeechEngine> { throw Error(err::CannotCreateObject, "espeak-ng data not found"); });
    for (int i = 0; i < 2; ++i) {
        try {
            tts.Speak("hello");
            FAIL() << "Speak did not fail";
        } catch (const Error &error) {
            EXPECT_EQ(error.number(), err::CannotCreateObject);
            EXPECT_EQ(error.message(), "espeak-ng data not found");
        }
    }
    EXPECT_EQ(errorNumber([&] { tts.CountEngines(); }), err::CannotCreateObject);
    EXPECT_EQ(errorNumber([&] { tts.setCurrentMode(1); }), err::CannotCreateObject);
}
