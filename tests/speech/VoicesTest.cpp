// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Picking a voice: how espeak-ng's voices become the engine's numbered voices, and how
// "Key=Value" criteria rank them. Made-up voice lists, so the rules are tested apart from
// whatever espeak-ng data a machine has.

#include "speech/EspeakVoices.h"

#include <gtest/gtest.h>

using namespace jabbly::voices;

namespace {

std::vector<EspeakVoice> someVoices()
{
    return {
        {QStringLiteral("German"), QStringLiteral("gmw/de"), {{QStringLiteral("de"), 5}}},
        {QStringLiteral("English_(America)"),
         QStringLiteral("gmw/en-US"),
         {{QStringLiteral("en-us"), 2}, {QStringLiteral("en"), 3}}},
        {QStringLiteral("English (Great Britain)"),
         QStringLiteral("gmw/en"),
         {{QStringLiteral("en-gb"), 2}, {QStringLiteral("en"), 2}}},
        {QStringLiteral("Afrikaans"), QStringLiteral("gmw/af"), {{QStringLiteral("af"), 5}}},
        {QStringLiteral("French (Switzerland)"),
         QStringLiteral("roa/fr-CH"),
         {{QStringLiteral("fr-ch"), 5}, {QStringLiteral("fr"), 8}}},
        {QStringLiteral("de1 (MBROLA)"), QStringLiteral("mb/mb-de1"), {{QStringLiteral("de"), 5}}},
    };
}

QString nameOf(const std::vector<Mode> &modes, int32_t number)
{
    return number >= 1 && number <= static_cast<int32_t>(modes.size()) ? modes[number - 1].name
                                                                       : QStringLiteral("<none>");
}

}  // namespace

TEST(Voices, EachVoiceComesAsItIsAndInItsFemaleForm)
{
    const std::vector<Mode> modes = modesFor(someVoices());
    QStringList names;
    for (const Mode &m : modes)
        names << m.name;
    // Sorted by name, a language's two forms together, male first; MBROLA left out.
    EXPECT_EQ(names, (QStringList{"Afrikaans, male", "Afrikaans, female", "English (America), male",
                                  "English (America), female", "English (Great Britain), male",
                                  "English (Great Britain), female", "French (Switzerland), male",
                                  "French (Switzerland), female", "German, male", "German, female"}));
    EXPECT_EQ(modes[2].spec, QStringLiteral("gmw/en-US"));
    EXPECT_EQ(modes[2].gender, Gender::Male);
    EXPECT_EQ(modes[3].spec, QStringLiteral("gmw/en-US+f3"));
    EXPECT_EQ(modes[3].gender, Gender::Female);
    EXPECT_EQ(modes[3].languages.size(), 2u);
}

TEST(Voices, CriteriaPickTheBestVoice)
{
    const std::vector<Mode> modes = modesFor(someVoices());
    // The program's own request: no voice is Microsoft's, so gender decides, then the
    // user's language.
    EXPECT_EQ(nameOf(modes, bestMode(modes, QStringLiteral("Mfg=Microsoft;Gender=1"), QStringLiteral("en-us"))),
              QStringLiteral("English (America), female"));
    EXPECT_EQ(nameOf(modes, bestMode(modes, QStringLiteral("Mfg=Microsoft;Gender=1"), QStringLiteral("en"))),
              QStringLiteral("English (Great Britain), female"));
    EXPECT_EQ(nameOf(modes, bestMode(modes, QStringLiteral("Mfg=Microsoft;Gender=1"), QStringLiteral("de-ch"))),
              QStringLiteral("German, female"));
    EXPECT_EQ(nameOf(modes, bestMode(modes, QStringLiteral("Gender=2"), QStringLiteral("fr-ch"))),
              QStringLiteral("French (Switzerland), male"));

    // Language weighs more than gender, a name more than both.
    EXPECT_EQ(nameOf(modes, bestMode(modes, QStringLiteral("Gender=1;Language=de"), QStringLiteral("en"))),
              QStringLiteral("German, female"));
    EXPECT_EQ(nameOf(modes, bestMode(modes, QStringLiteral("Language=fr;Gender=2"), QStringLiteral("en"))),
              QStringLiteral("French (Switzerland), male"));
    EXPECT_EQ(
        nameOf(modes, bestMode(modes, QStringLiteral("Language=de;Name=Afrikaans, female"), QStringLiteral("en"))),
        QStringLiteral("Afrikaans, female"));
    EXPECT_EQ(nameOf(modes, bestMode(modes, QStringLiteral("Name=gmw/en-US"), QStringLiteral("de"))),
              QStringLiteral("English (America), male"));
    EXPECT_EQ(nameOf(modes, bestMode(modes, QStringLiteral("LANGUAGE=en_GB;gender=female"), QStringLiteral("de"))),
              QStringLiteral("English (Great Britain), female"));
    EXPECT_EQ(nameOf(modes, bestMode(modes, QStringLiteral("Mfg=espeak;Gender=1"), QStringLiteral("af"))),
              QStringLiteral("Afrikaans, female"));
}

TEST(Voices, CriteriaThatNothingMeetsStillGiveAVoice)
{
    const std::vector<Mode> modes = modesFor(someVoices());
    // Unknown keys, parts without a value and unmet wishes leave the user's language.
    for (const char *criteria :
         {"", "Age=30;Style=Casual", ";;=1;Gender;Gender=", "Name=Nobody;Language=zz;Mfg=Acme", "Gender=0"}) {
        SCOPED_TRACE(criteria);
        EXPECT_EQ(nameOf(modes, bestMode(modes, QString::fromLatin1(criteria), QStringLiteral("de"))),
                  QStringLiteral("German, male"));
    }
    // Not even the user's language: the first voice.
    EXPECT_EQ(bestMode(modes, QStringLiteral("Language=zz"), QStringLiteral("xx")), 1);
    EXPECT_EQ(bestMode({}, QStringLiteral("Gender=1"), QStringLiteral("en")), 0);
}

TEST(Voices, LanguageMatching)
{
    const std::vector<Language> british{{QStringLiteral("en-gb"), 2}, {QStringLiteral("en"), 2}};
    const std::vector<Language> american{{QStringLiteral("en-us"), 2}, {QStringLiteral("en"), 3}};
    EXPECT_GT(languageScore(american, QStringLiteral("en-us")), languageScore(british, QStringLiteral("en-us")));
    EXPECT_GT(languageScore(british, QStringLiteral("en-gb")), languageScore(american, QStringLiteral("en-gb")));
    // Both speak plain "en": espeak-ng's priority decides.
    EXPECT_GT(languageScore(british, QStringLiteral("en")), languageScore(american, QStringLiteral("en")));
    // Same language, other region, still beats another language.
    EXPECT_GT(languageScore({{QStringLiteral("fr-ch"), 5}}, QStringLiteral("fr-fr")), 0);
    EXPECT_EQ(languageScore(british, QStringLiteral("de")), 0);
    EXPECT_EQ(languageScore(british, QString()), 0);

    EXPECT_EQ(preferredLanguage(QLocale::c()), QStringLiteral("en"));
    EXPECT_EQ(preferredLanguage(QLocale(QLocale::German, QLocale::Switzerland)), QStringLiteral("de-ch"));
    EXPECT_EQ(preferredLanguage(QLocale(QLocale::English, QLocale::UnitedStates)), QStringLiteral("en-us"));
}

TEST(Voices, SpeedListMapsOntoWordsPerMinute)
{
    EXPECT_EQ(wordsPerMinute(50), 80);
    EXPECT_EQ(wordsPerMinute(150), 175);
    EXPECT_EQ(wordsPerMinute(250), 370);
    for (int32_t s = 51; s <= 250; ++s)
        EXPECT_GE(wordsPerMinute(s), wordsPerMinute(s - 1)) << s;
    EXPECT_LT(wordsPerMinute(140), wordsPerMinute(150));
    EXPECT_GT(wordsPerMinute(160), wordsPerMinute(150));
    EXPECT_EQ(wordsPerMinute(10), 80);
    EXPECT_EQ(wordsPerMinute(1000), 370);
}
