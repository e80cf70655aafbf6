// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The voices that the speech engine offers, built from espeak-ng's voice list, and how a
// voice is picked from "Key=Value;Key=Value" criteria. Plain data and functions: nothing
// here talks to espeak-ng itself.

#include <QLocale>
#include <QString>

#include <cstdint>
#include <vector>

namespace jabbly::voices {

// Numbered as the criteria number them: Gender=1 asks for a female voice, Gender=2 for a
// male one.
enum class Gender { Unknown = 0, Female = 1, Male = 2 };

// A language a voice speaks: a lower-case tag such as "en-gb", and espeak-ng's priority
// for it (lower is more preferred).
struct Language {
    QString tag;
    int priority = 5;
};

// One voice as espeak-ng lists it.
struct EspeakVoice {
    QString name;        // "English (Great Britain)"
    QString identifier;  // "gmw/en", the file under espeak-ng-data/voices
    std::vector<Language> languages;
};

// One voice of the engine ("mode"): an espeak-ng voice, as it is or with a variant.
struct Mode {
    QString name;  // what the voice list shows: "English (Great Britain), female"
    QString spec;  // what espeak-ng selects: "gmw/en+f3"
    std::vector<Language> languages;
    Gender gender = Gender::Unknown;
};

// What the engine answers for the criterion "Mfg".
inline constexpr char16_t Manufacturer[] = u"eSpeak NG";

// espeak-ng's own voices are male; its variant "f3" turns any of them into a female voice.
inline constexpr char16_t FemaleVariant[] = u"+f3";

// Two modes for each espeak-ng voice, the voice itself (male) and its female form, sorted
// by name so that a language's two forms stand together. MBROLA voices, which need data
// that espeak-ng does not carry, are left out.
std::vector<Mode> modesFor(const std::vector<EspeakVoice> &voices);

// Ranks the modes against the criteria and returns the best one's number (from 1). Keys,
// in falling weight, letter case ignored: Name (the shown name or the espeak-ng voice),
// Language (a tag such as "en" or "en-GB"), Gender (1 female, 2 male, 0 any), Mfg
// (manufacturer). Other keys and malformed parts are ignored. Ties go to the voice that
// speaks `preferredLanguage` best, then to the lowest number; so criteria that nothing
// meets still give a voice. 0 only when there are no modes.
int32_t bestMode(const std::vector<Mode> &modes, const QString &criteria, const QString &preferredLanguage);

// The language tag a user of `locale` would want ("en-us" for en_US). The C locale, which
// says nothing about a language, gives English, the language of the program's replies.
QString preferredLanguage(const QLocale &locale);

// How well a voice's languages meet a wanted tag: 3 the same tag, 2 one tag inside the
// other ("en" and "en-gb"), 1 the same language with another region, 0 none; times 100,
// less espeak-ng's priority for the matching tag. Higher is better.
int languageScore(const std::vector<Language> &languages, const QString &wanted);

// The speed list's 50 to 250 as espeak-ng's words per minute: 150, where the program
// starts, is espeak-ng's normal 175; 50 is its slowest, 80; 250 is 370, fast but clear.
int wordsPerMinute(int32_t speed);

}  // namespace jabbly::voices
