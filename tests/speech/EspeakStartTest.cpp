// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Starting espeak-ng: without its data, and what it does to the process's locale. In a
// test binary of its own, because espeak-ng starts once per process: this must come
// before anything starts it with good data.

#include "speech/EspeakEngine.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <iostream>
#include <string>

#include <langinfo.h>

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

}  // namespace

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
    try {
        jabbly::EspeakEngine engine(std::move(options));
        ADD_FAILURE() << "an engine without data was created";
    } catch (const jabbly::Error &error) {
        EXPECT_EQ(error.number(), jabbly::err::CannotCreateObject);
        EXPECT_TRUE(error.message().contains(QStringLiteral("phontab"))) << error.message().toStdString();
    }
    if (!locale.name().empty()) {
        EXPECT_EQ(currentCtype(), locale.name());
    }

    // A failed start leaves espeak-ng free to start with good data.
    jabbly::EspeakEngine::Options good;
    good.lexiconFile = dir.filePath(QStringLiteral("lexicon.json"));
    jabbly::EspeakEngine engine(std::move(good));
    EXPECT_GT(engine.CountEngines(), 0);
    EXPECT_GT(engine.synthesize(QStringLiteral("Now it works.")).size(), 1000u);
    if (!locale.name().empty()) {
        EXPECT_EQ(currentCtype(), locale.name());
        EXPECT_STREQ(::nl_langinfo(CODESET), "CP1252");
    }
}
