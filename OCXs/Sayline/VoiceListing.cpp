// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "VoiceListing.h"

#include "jabbly/error.h"
#include "jabbly/itemlist.h"
#include "jabbly/speechengine.h"

#include <QString>

#include <cstdint>

namespace sayline {

void listVoices(jabbly::ItemList &list, jabbly::SpeechEngine &engine)
{
    const int32_t best = engine.Find(QString::fromUtf16(PreferredVoice));
    engine.Select(best);

    const int32_t count = engine.CountEngines();
    for (int32_t mode = 1; mode <= count; ++mode)
        list.AddItem(engine.ModeName(mode));

    // The list's index is a 16-bit integer: a voice number that does not fit is an
    // overflow, as assigning it would be.
    const int64_t index = static_cast<int64_t>(engine.CurrentMode()) - 1;
    if (index < INT16_MIN || index > INT16_MAX)
        throw jabbly::Error(jabbly::err::Overflow, QStringLiteral("Overflow"));
    list.setListIndex(static_cast<int16_t>(index));
}

}  // namespace sayline
