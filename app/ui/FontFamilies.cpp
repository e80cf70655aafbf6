// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FontFamilies.h"

#include <QFontDatabase>
#include <QHash>

namespace jabbly {

QString familyWithoutFoundry(const QString &family)
{
    // Qt writes the foundry as " [foundry]" after the family's own name.
    if (!family.endsWith(u']'))
        return family;
    const qsizetype open = family.lastIndexOf(QStringLiteral(" ["));
    return open > 0 ? family.left(open) : family;
}

QStringList fontChoices(const QStringList &families, const std::function<bool(const QString &)> &isFixedPitch)
{
    struct Group {
        bool fixedPitch = false;
        bool pitchesDiffer = false;
    };
    QHash<QString, Group> groups;
    for (const QString &family : families) {
        if (family.trimmed().isEmpty())
            continue;
        const QString key = familyWithoutFoundry(family).toCaseFolded();
        const bool fixed = isFixedPitch(family);
        auto it = groups.find(key);
        if (it == groups.end())
            groups.insert(key, {fixed, false});
        else if (it->fixedPitch != fixed)
            it->pitchesDiffer = true;
    }

    QStringList choices;
    QHash<QString, bool> listed;
    for (const QString &family : families) {
        if (family.trimmed().isEmpty())
            continue;
        const QString bare = familyWithoutFoundry(family);
        const QString key = bare.toCaseFolded();
        if (groups.value(key).pitchesDiffer) {
            choices.append(family);
        } else if (!listed.value(key)) {
            listed.insert(key, true);
            choices.append(bare);
        }
    }
    return choices;
}

QStringList displayFontChoices()
{
    return fontChoices(QFontDatabase::families(),
                       [](const QString &family) { return QFontDatabase::isFixedPitch(family); });
}

}  // namespace jabbly
