// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/EspeakVoices.h"

#include "jabbly/speechengine.h"

#include <QStringList>

#include <algorithm>
#include <optional>
#include <tuple>

namespace jabbly::voices {

namespace {

QString primary(const QString &tag)
{
    const qsizetype dash = tag.indexOf(u'-');
    return dash < 0 ? tag : tag.left(dash);
}

QString normalisedTag(QString tag) { return tag.trimmed().replace(u'_', u'-').toLower(); }

int tagQuality(const QString &have, const QString &want)
{
    if (have == want)
        return 3;
    if (have.startsWith(want + u'-') || want.startsWith(have + u'-'))
        return 2;
    if (primary(have) == primary(want))
        return 1;
    return 0;
}

struct Criteria {
    QString name;
    QString language;
    std::optional<Gender> gender;
    QString manufacturer;
};

std::optional<Gender> parseGender(const QString &value)
{
    const QString v = value.toLower();
    if (v == u"1" || v == u"female")
        return Gender::Female;
    if (v == u"2" || v == u"male")
        return Gender::Male;
    return std::nullopt;  // 0, "neutral" or anything else: no preference
}

Criteria parse(const QString &text)
{
    Criteria c;
    for (const QString &part : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = part.left(eq).trimmed().toLower();
        const QString value = part.mid(eq + 1).trimmed();
        if (value.isEmpty())
            continue;
        if (key == u"name" || key == u"modename" || key == u"voice")
            c.name = value;
        else if (key == u"language" || key == u"lang")
            c.language = normalisedTag(value);
        else if (key == u"gender")
            c.gender = parseGender(value);
        else if (key == u"mfg" || key == u"manufacturer")
            c.manufacturer = value;
    }
    return c;
}

int nameScore(const Mode &mode, const QString &wanted)
{
    if (wanted.isEmpty())
        return 0;
    if (mode.name.compare(wanted, Qt::CaseInsensitive) == 0 || mode.spec.compare(wanted, Qt::CaseInsensitive) == 0)
        return 2;
    return mode.name.contains(wanted, Qt::CaseInsensitive) ? 1 : 0;
}

int manufacturerScore(const QString &wanted)
{
    if (wanted.isEmpty())
        return 0;
    const QString ours = QString::fromUtf16(Manufacturer);
    if (ours.compare(wanted, Qt::CaseInsensitive) == 0)
        return 2;
    return ours.contains(wanted, Qt::CaseInsensitive) || wanted.contains(ours, Qt::CaseInsensitive) ? 1 : 0;
}

}  // namespace

std::vector<Mode> modesFor(const std::vector<EspeakVoice> &voices)
{
    std::vector<Mode> modes;
    modes.reserve(voices.size() * 2);
    for (const EspeakVoice &v : voices) {
        if (v.identifier.isEmpty() || v.identifier.startsWith(u"mb/"))
            continue;
        QString name = QString(v.name).replace(u'_', u' ').simplified();
        if (name.isEmpty())
            name = v.identifier;
        modes.push_back({name + QStringLiteral(", male"), v.identifier, v.languages, Gender::Male});
        modes.push_back({name + QStringLiteral(", female"), v.identifier + QString::fromUtf16(FemaleVariant),
                         v.languages, Gender::Female});
    }
    std::stable_sort(modes.begin(), modes.end(), [](const Mode &a, const Mode &b) {
        const int byName = a.name.section(u',', 0, -2).compare(b.name.section(u',', 0, -2), Qt::CaseInsensitive);
        if (byName != 0)
            return byName < 0;
        return a.gender == Gender::Male && b.gender != Gender::Male;
    });
    return modes;
}

int languageScore(const std::vector<Language> &languages, const QString &wanted)
{
    if (wanted.isEmpty())
        return 0;
    int best = 0;
    for (const Language &l : languages) {
        const int quality = tagQuality(l.tag, wanted);
        if (quality > 0)
            best = std::max(best, quality * 100 - std::clamp(l.priority, 0, 99));
    }
    return best;
}

int32_t bestMode(const std::vector<Mode> &modes, const QString &criteria, const QString &preferredLanguage)
{
    const Criteria c = parse(criteria);
    const int mfg = manufacturerScore(c.manufacturer);  // the same for every voice
    const QString preferred = normalisedTag(preferredLanguage);

    using Score = std::tuple<int, int, int, int, int>;
    std::optional<Score> best;
    int32_t bestNumber = 0;
    for (std::size_t i = 0; i < modes.size(); ++i) {
        const Mode &m = modes[i];
        const Score score{nameScore(m, c.name), languageScore(m.languages, c.language),
                          c.gender && m.gender == *c.gender ? 1 : 0, mfg, languageScore(m.languages, preferred)};
        if (!best || score > *best) {
            best = score;
            bestNumber = static_cast<int32_t>(i + 1);
        }
    }
    return bestNumber;
}

QString preferredLanguage(const QLocale &locale)
{
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return QStringLiteral("en");
    return normalisedTag(locale.name());
}

int wordsPerMinute(int32_t speed)
{
    speed = std::clamp(speed, SlowestSpeed, FastestSpeed);
    if (speed <= NormalSpeed)
        return 80 + (speed - SlowestSpeed) * 95 / 100;
    return 175 + (speed - NormalSpeed) * 195 / 100;
}

}  // namespace jabbly::voices
