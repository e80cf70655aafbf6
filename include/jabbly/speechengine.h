// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program and the speech helper need of a text-to-speech engine.
// Voices ("modes") are numbered from 1 to CountEngines(). Failures throw jabbly::Error.

#include <QString>

#include <cstdint>

class QWidget;

namespace jabbly {

// The speaking speeds the program offers (its speed list), and the one it starts at.
inline constexpr int32_t SlowestSpeed = 50;
inline constexpr int32_t FastestSpeed = 250;
inline constexpr int32_t NormalSpeed = 150;

class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;

    // Speaks the text without waiting for the audio; successive requests queue.
    virtual void Speak(const QString &text) = 0;
    // Ends any speech in progress and drops what is queued.
    virtual void StopSpeaking() = 0;
    // Shows the engine's modal lexicon dialog, owned by `owner`, titled `title`.
    virtual void LexiconDlg(QWidget *owner, const QString &title) = 0;
    // Speaking speed, SlowestSpeed to FastestSpeed.
    virtual void setSpeed(int32_t speed) = 0;
    // Makes voice `mode` current.
    virtual void setCurrentMode(int32_t mode) = 0;

    // Ranks every voice against "Key=Value;Key=Value" criteria and returns the best one,
    // in the form Select() takes.
    virtual int32_t Find(const QString &criteria) = 0;
    virtual void Select(int32_t mode) = 0;
    virtual int32_t CountEngines() const = 0;
    virtual QString ModeName(int32_t mode) const = 0;
    virtual int32_t CurrentMode() const = 0;
};

}  // namespace jabbly
