// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Starting espeak-ng: without its library, without its data, and what it does to the
// process's locale. In a test binary of its own, because espeak-ng starts once per
// process: this must come before anything starts it with good data.

#include "speech/EspeakEngine.h"

#include <QByteArray>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <fstream>
#include <iostream>
#include <string>

#include <langinfo.h>

// glibc's newlocale() never frees the search path it builds from LOCPATH (the realloc in
// __argz_add_sep), and the single-byte locale below needs LOCPATH for the whole test: the
// leak checker of the sanitizer build is told to pass over that one allocation.
extern "C" const char *__lsan_default_suppressions()  // NOLINT: the name the leak checker looks up
{
    return "leak:__argz_add_sep\nleak:__argz_create_sep\n";
}

namespace {

// A single-byte locale for the test's run: Windows-1252, compiled with localedef into a
// scratch folder when the system has none. Empty when that cannot be done.
class SingleByteLocale {
public:
    SingleByteLocale()
    {
        previous_ = std::setlocale(LC_CTYPE, nullptr);
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"),
                        {"-i", "C", "-f", "CP1252", compiled_.filePath(QStringLiteral("C.CP1252"))});
        if (!localedef.waitForFinished(60000) ||
            !QFileInfo::exists(compiled_.filePath(QStringLiteral("C.CP1252/LC_CTYPE"))))
            return;
        hadLocpath_ = qEnvironmentVariableIsSet("LOCPATH");
        oldLocpath_ = qgetenv("LOCPATH");
        qputenv("LOCPATH", QFile::encodeName(compiled_.path()));
        if (std::setlocale(LC_CTYPE, "C.CP1252"))
            name_ = std::setlocale(LC_CTYPE, nullptr);
    }
    ~SingleByteLocale()
    {
        std::setlocale(LC_CTYPE, previous_.c_str());
        if (hadLocpath_)
            qputenv("LOCPATH", oldLocpath_);
        else
            qunsetenv("LOCPATH");
    }
    const std::string &name() const { return name_; }

private:
    QTemporaryDir compiled_;
    std::string previous_;
    std::string name_;
    bool hadLocpath_ = false;
    QByteArray oldLocpath_;
};

std::string currentCtype()
{
    const char *name = std::setlocale(LC_CTYPE, nullptr);
    return name ? name : "";
}

bool espeakLoaded()
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find("libespeak-ng") != std::string::npos)
            return true;
    return false;
}

// The start's failure, as every member that needs espeak-ng reports it.
QString startFailure(jabbly::EspeakEngine &engine)
{
    QString first;
    for (const auto &call : std::initializer_list<std::function<void()>>{
             [&] { engine.CountEngines(); }, [&] { engine.Speak(QStringLiteral("hello")); },
             [&] { engine.setCurrentMode(1); }, [&] { engine.synthesize(QStringLiteral("hello")); }}) {
        try {
            call();
            ADD_FAILURE() << "a call on an engine that could not start succeeded";
        } catch (const jabbly::Error &error) {
            EXPECT_EQ(error.number(), jabbly::err::CannotCreateObject);
            if (first.isEmpty())
                first = error.message();
            EXPECT_EQ(error.message(), first);
        }
    }
    return first;
}

}  // namespace

TEST(EspeakStart, WithoutItsLibraryAnEngineFailsEveryCallAndSaysWhy)
{
    QTemporaryDir dir;
    // An engine that is only made and stopped does not load espeak-ng at all.
    {
        jabbly::EspeakEngine::Options options;
        options.lexiconFile = dir.filePath(QStringLiteral("lexicon.json"));
        jabbly::EspeakEngine idle(std::move(options));
        idle.setSpeed(150);
        idle.StopSpeaking();
        EXPECT_FALSE(idle.startRequested());
    }
    EXPECT_FALSE(espeakLoaded());

    QFile broken(dir.filePath(QStringLiteral("libespeak-ng.so.1")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a library");
    broken.close();
    for (const QString &library : {dir.filePath(QStringLiteral("missing/libespeak-ng.so.1")), broken.fileName(),
                                   QStringLiteral("libjabbly-no-such-espeak.so.1")}) {
        jabbly::EspeakEngine::Options options;
        options.library = library;
        options.lexiconFile = dir.filePath(QStringLiteral("lexicon.json"));
        jabbly::EspeakEngine engine(std::move(options));
        const QString why = startFailure(engine);
        EXPECT_TRUE(why.startsWith(QStringLiteral("The speech engine could not start: espeak-ng could not be loaded")))
            << why.toStdString();
        EXPECT_TRUE(why.contains(QFileInfo(library).fileName())) << why.toStdString();
    }
    EXPECT_FALSE(espeakLoaded());
}

TEST(EspeakStart, WithoutDataFailsAndSaysWhyThenStartsWithGoodDataKeepingTheLocale)
{
    SingleByteLocale locale;
    if (locale.name().empty())
        std::cout << "[   NOTE   ] localedef could not make a Windows-1252 locale: the locale is not checked\n";

    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("espeak-ng-data")));  // there, but empty
    jabbly::EspeakEngine::Options options;
    options.dataFolder = dir.path();
    options.lexiconFile = dir.filePath(QStringLiteral("lexicon.json"));
    {
        jabbly::EspeakEngine engine(std::move(options));
        const QString why = startFailure(engine);
        EXPECT_TRUE(why.contains(QStringLiteral("phontab"))) << why.toStdString();
    }
    if (!locale.name().empty()) {
        EXPECT_EQ(currentCtype(), locale.name());
    }

    // A failed start leaves espeak-ng free to start with good data.
    jabbly::EspeakEngine::Options good;
    good.lexiconFile = dir.filePath(QStringLiteral("lexicon.json"));
    jabbly::EspeakEngine engine(std::move(good));
    EXPECT_GT(engine.CountEngines(), 0);
    EXPECT_TRUE(espeakLoaded());
    EXPECT_GT(engine.synthesize(QStringLiteral("Now it works.")).size(), 1000u);
    if (!locale.name().empty()) {
        EXPECT_EQ(currentCtype(), locale.name());
        EXPECT_STREQ(::nl_langinfo(CODESET), "CP1252");
    }
}
