// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A speech engine that starts on a thread of its own: espeak-ng reads its data and voices
// while the window system and the windows get ready, and the first call on the engine
// waits for it (at start-up that is the voice listing). An engine that could not start
// fails every call with the reason it did not start.

#include "jabbly/error.h"
#include "jabbly/speechengine.h"

#include <functional>
#include <future>
#include <memory>
#include <optional>

namespace jabbly {

class StartingSpeechEngine final : public SpeechEngine {
public:
    using Factory = std::function<std::unique_ptr<SpeechEngine>()>;

    // Runs `start` on a new thread at once. It may throw jabbly::Error.
    explicit StartingSpeechEngine(Factory start);
    ~StartingSpeechEngine() override;

    // The started engine, once it is there; throws the start's failure.
    SpeechEngine &engine();

    void Speak(const QString &text) override { engine().Speak(text); }
    void StopSpeaking() override { engine().StopSpeaking(); }
    void LexiconDlg(QWidget *owner, const QString &title) override { engine().LexiconDlg(owner, title); }
    void setSpeed(int32_t speed) override { engine().setSpeed(speed); }
    void setCurrentMode(int32_t mode) override { engine().setCurrentMode(mode); }
    int32_t Find(const QString &criteria) override { return engine().Find(criteria); }
    void Select(int32_t mode) override { engine().Select(mode); }
    int32_t CountEngines() const override { return started().CountEngines(); }
    QString ModeName(int32_t mode) const override { return started().ModeName(mode); }
    int32_t CurrentMode() const override { return started().CurrentMode(); }

private:
    SpeechEngine &started() const;

    mutable std::future<std::unique_ptr<SpeechEngine>> starting_;
    mutable std::unique_ptr<SpeechEngine> engine_;
    mutable std::optional<Error> failure_;
};

}  // namespace jabbly
