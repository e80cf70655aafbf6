// An engine without espeak-ng data. In a test binary of its own: espeak-ng starts once per
// process, so this must come before anything starts it with good data.

#include "EspeakEngine.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(NoSpeechData, TheEngineCannotBeCreatedAndSaysWhy)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("espeak-ng-data")));  // there, but empty

    jabbly::EspeakEngine::Options options;
    options.dataFolder = dir.path();
    options.lexiconFile = dir.filePath(QStringLiteral("lexicon.json"));
    try {
        jabbly::EspeakEngine engine(std::move(options));
        ADD_FAILURE() << "an engine without data was created";
    } catch (const jabbly::Error &error) {
        EXPECT_EQ(error.number(), jabbly::err::CannotCreateObject);
        EXPECT_TRUE(error.message().contains(QStringLiteral("phontab"))) << error.message().toStdString();
    }

    // A failed start leaves espeak-ng free to start with good data.
    jabbly::EspeakEngine::Options good;
    good.lexiconFile = dir.filePath(QStringLiteral("lexicon.json"));
    jabbly::EspeakEngine engine(std::move(good));
    EXPECT_GT(engine.CountEngines(), 0);
    EXPECT_GT(engine.synthesize(QStringLiteral("Now it works.")).size(), 1000u);
}
