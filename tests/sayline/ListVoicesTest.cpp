// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// ListVoices through the component's dispatch entry, with a mock speech engine and the
// program's own item list, wired as the speech options window wires its voice list: the
// list's selection event writes the chosen voice back to the engine.

#include "SaylineTesting.h"

#include "ErrorNumber.h"
#include "lists/ItemListModel.h"
#include "MockSpeechEngine.h"

#include "jabbly/members.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <new>
#include <stdexcept>

using jabbly::Error;
using jabbly::ItemListModel;
using jabbly::testing::errorNumber;
using jabbly::testing::MockSpeechEngine;
using ::testing::InSequence;
using ::testing::Return;
using ::testing::StrictMock;
using ::testing::Throw;

namespace {

const QString PreferredCriteria = QStringLiteral("Mfg=Microsoft;Gender=1");

// The voice list of the speech options window: unsorted, and its selection event sets the
// engine's current voice to the selected index + 1. It records what it saw when it ran.
struct VoiceList {
    explicit VoiceList(jabbly::SpeechEngine &engine) : model(false)
    {
        model.setSelectionHandler([this, &engine] {
            events.push_back(model.ListIndex());
            engine.setCurrentMode(model.ListIndex() + 1);
        });
    }
    ItemListModel model;
    std::vector<int> events;
};

void listVoices(jabbly::ItemList &list, jabbly::SpeechEngine &engine)
{
    sayline_test::sayline().ListVoices(list, engine);
}

}  // namespace

TEST(ListVoices, ThreeVoicesWithTheSecondPreferred)
{
    StrictMock<MockSpeechEngine> engine;
    VoiceList voices(engine);
    {
        InSequence order;
        EXPECT_CALL(engine, Find(PreferredCriteria)).WillOnce(Return(2));
        EXPECT_CALL(engine, Select(2));
        EXPECT_CALL(engine, CountEngines()).WillOnce(Return(3));
        EXPECT_CALL(engine, ModeName(1)).WillOnce(Return(QStringLiteral("Anna")));
        EXPECT_CALL(engine, ModeName(2)).WillOnce(Return(QStringLiteral("Mary")));
        EXPECT_CALL(engine, ModeName(3)).WillOnce(Return(QStringLiteral("Sam")));
        EXPECT_CALL(engine, CurrentMode()).WillOnce(Return(2));
        // The selection event, raised by the listing itself.
        EXPECT_CALL(engine, setCurrentMode(2));
    }

    listVoices(voices.model, engine);

    EXPECT_EQ(voices.model.items(), (QStringList{"Anna", "Mary", "Sam"}));
    EXPECT_EQ(voices.model.ListIndex(), 1);
    EXPECT_EQ(voices.model.Text(), QStringLiteral("Mary"));
    // The event ran once, before the call returned, with item 1 already selected.
    EXPECT_EQ(voices.events, std::vector<int>{1});
}

TEST(ListVoices, CalledTwiceAppendsTheNamesAgain)
{
    // Also: whatever Find answers goes to Select as it is, and the selection follows
    // CurrentMode, not Find.
    MockSpeechEngine engine;
    VoiceList voices(engine);
    EXPECT_CALL(engine, Find(PreferredCriteria)).Times(2).WillRepeatedly(Return(-7));
    EXPECT_CALL(engine, Select(-7)).Times(2);
    EXPECT_CALL(engine, CountEngines()).Times(2).WillRepeatedly(Return(3));
    EXPECT_CALL(engine, ModeName(1)).Times(2).WillRepeatedly(Return(QStringLiteral("Anna")));
    EXPECT_CALL(engine, ModeName(2)).Times(2).WillRepeatedly(Return(QStringLiteral("Mary")));
    EXPECT_CALL(engine, ModeName(3)).Times(2).WillRepeatedly(Return(QStringLiteral("Sam")));
    EXPECT_CALL(engine, CurrentMode()).Times(2).WillRepeatedly(Return(2));
    EXPECT_CALL(engine, setCurrentMode(2)).Times(2);

    listVoices(voices.model, engine);
    listVoices(voices.model, engine);

    EXPECT_EQ(voices.model.items(), (QStringList{"Anna", "Mary", "Sam", "Anna", "Mary", "Sam"}));
    // The selection points into the first copy.
    EXPECT_EQ(voices.model.ListIndex(), 1);
    EXPECT_EQ(voices.events, (std::vector<int>{1, 1}));
}

TEST(ListVoices, AnEngineWithoutVoicesFailsAtTheSelection)
{
    // Nothing to append; selecting CurrentMode - 1 then fails, in the list or in the
    // engine, and that failure reaches the caller with its own number and message.
    {
        StrictMock<MockSpeechEngine> engine;
        VoiceList voices(engine);
        EXPECT_CALL(engine, Find(PreferredCriteria)).WillOnce(Return(1));
        EXPECT_CALL(engine, Select(1));
        EXPECT_CALL(engine, CountEngines()).WillOnce(Return(0));
        EXPECT_CALL(engine, CurrentMode()).WillOnce(Return(1));
        EXPECT_EQ(errorNumber([&] { listVoices(voices.model, engine); }), jabbly::err::InvalidPropertyValue);
        EXPECT_EQ(voices.model.ListCount(), 0);
        EXPECT_TRUE(voices.events.empty());
    }
    {
        StrictMock<MockSpeechEngine> engine;
        VoiceList voices(engine);
        EXPECT_CALL(engine, Find(PreferredCriteria)).WillOnce(Return(0));
        EXPECT_CALL(engine, Select(0));
        EXPECT_CALL(engine, CountEngines()).WillOnce(Return(0));
        EXPECT_CALL(engine, CurrentMode()).WillOnce(Throw(Error(1234, QStringLiteral("No voice is current"))));
        try {
            listVoices(voices.model, engine);
            ADD_FAILURE() << "the engine's failure was swallowed";
        } catch (const Error &e) {
            EXPECT_EQ(e.number(), 1234);
            EXPECT_EQ(e.message(), QStringLiteral("No voice is current"));
        }
        EXPECT_TRUE(voices.events.empty());
    }
}

TEST(ListVoices, AFailureEndsTheListingAndKeepsWhatWasAppended)
{
    {
        StrictMock<MockSpeechEngine> engine;
        VoiceList voices(engine);
        voices.model.AddItem(QStringLiteral("already there"));
        InSequence order;
        EXPECT_CALL(engine, Find(PreferredCriteria)).WillOnce(Return(1));
        EXPECT_CALL(engine, Select(1));
        EXPECT_CALL(engine, CountEngines()).WillOnce(Return(3));
        EXPECT_CALL(engine, ModeName(1)).WillOnce(Return(QStringLiteral("Anna")));
        EXPECT_CALL(engine, ModeName(2))
            .WillOnce(Throw(Error(jabbly::err::InvalidArgument, QStringLiteral("bad voice"))));
        EXPECT_EQ(errorNumber([&] { listVoices(voices.model, engine); }), jabbly::err::InvalidArgument);
        EXPECT_EQ(voices.model.items(), (QStringList{"already there", "Anna"}));
        EXPECT_EQ(voices.model.ListIndex(), -1);
    }
    {
        StrictMock<MockSpeechEngine> engine;
        VoiceList voices(engine);
        EXPECT_CALL(engine, Find(PreferredCriteria)).WillOnce(Return(3));
        EXPECT_CALL(engine, Select(3))
            .WillOnce(Throw(Error(jabbly::err::InvalidPropertyValue, QStringLiteral("no such voice"))));
        EXPECT_EQ(errorNumber([&] { listVoices(voices.model, engine); }), jabbly::err::InvalidPropertyValue);
        EXPECT_EQ(voices.model.ListCount(), 0);
    }
    {
        // A voice number that no list index can hold.
        StrictMock<MockSpeechEngine> engine;
        VoiceList voices(engine);
        EXPECT_CALL(engine, Find(PreferredCriteria)).WillOnce(Return(1));
        EXPECT_CALL(engine, Select(1));
        EXPECT_CALL(engine, CountEngines()).WillOnce(Return(1));
        EXPECT_CALL(engine, ModeName(1)).WillOnce(Return(QStringLiteral("Anna")));
        EXPECT_CALL(engine, CurrentMode()).WillOnce(Return(40000));
        EXPECT_EQ(errorNumber([&] { listVoices(voices.model, engine); }), jabbly::err::Overflow);
        EXPECT_EQ(voices.model.items(), QStringList{"Anna"});
    }
}

TEST(ListVoices, DispatchChecksItsArguments)
{
    StrictMock<MockSpeechEngine> engine;  // never called
    ItemListModel list(false);
    jabbly::Dispatch &d = sayline_test::component();

    std::array<jabbly::Variant, 2> swapped{jabbly::Variant(static_cast<jabbly::SpeechEngine *>(&engine)),
                                           jabbly::Variant(static_cast<jabbly::ItemList *>(&list))};
    EXPECT_EQ(errorNumber([&] { d.Invoke(jabbly::sayline::ListVoices, swapped); }), jabbly::err::TypeMismatch);

    std::array<jabbly::Variant, 2> noEngine{jabbly::Variant(static_cast<jabbly::ItemList *>(&list)),
                                            jabbly::Variant(static_cast<jabbly::SpeechEngine *>(nullptr))};
    EXPECT_EQ(errorNumber([&] { d.Invoke(jabbly::sayline::ListVoices, noEngine); }), jabbly::err::TypeMismatch);

    std::array<jabbly::Variant, 1> listOnly{jabbly::Variant(static_cast<jabbly::ItemList *>(&list))};
    EXPECT_EQ(errorNumber([&] { d.Invoke(jabbly::sayline::ListVoices, listOnly); }), jabbly::err::WrongArgumentCount);
    EXPECT_EQ(list.ListCount(), 0);
}

TEST(ListVoices, EveryFailureComesBackAsARecordAndANumberedError)
{
    ItemListModel list(false);
    const auto failWith = [&](auto exception) {
        StrictMock<MockSpeechEngine> engine;
        EXPECT_CALL(engine, Find(PreferredCriteria)).WillOnce(Throw(exception));
        try {
            sayline_test::sayline().ListVoices(list, engine);
        } catch (const Error &e) {
            return QString::number(e.number()) + ' ' + e.message();
        }
        return QStringLiteral("no error");
    };
    EXPECT_EQ(failWith(std::bad_alloc()), "7 Out of memory");
    EXPECT_EQ(failWith(std::length_error("vector::reserve")), "7 Out of memory");
    EXPECT_EQ(failWith(std::logic_error("engine confused")), "51 Internal error: engine confused");
    EXPECT_EQ(list.ListCount(), 0);

    // The library's own entry answers with a record, and throws nothing.
    const auto exported = sayline_test::exportedInstance();
    ASSERT_TRUE(exported);
    std::array<jabbly::Variant, 1> number{jabbly::Variant(int32_t{5})};
    jabbly::Variant result;
    jabbly::ErrorRecord error;
    bool ok = true;
    EXPECT_NO_THROW(ok = exported->Invoke(jabbly::sayline::filt, number, result, error));
    EXPECT_FALSE(ok);
    EXPECT_EQ(error.number, jabbly::err::TypeMismatch);
}
