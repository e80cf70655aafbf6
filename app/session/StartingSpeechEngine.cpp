// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/StartingSpeechEngine.h"

#include "session/Logging.h"

namespace jabbly {

StartingSpeechEngine::StartingSpeechEngine(Factory start) : starting_(std::async(std::launch::async, std::move(start)))
{
}

StartingSpeechEngine::~StartingSpeechEngine()
{
    // The engine's thread must have finished before anything it uses goes away.
    if (starting_.valid())
        starting_.wait();
}

SpeechEngine &StartingSpeechEngine::engine() { return started(); }

SpeechEngine &StartingSpeechEngine::started() const
{
    if (starting_.valid()) {
        try {
            engine_ = starting_.get();
            if (!engine_)
                failure_ = Error(err::CannotCreateObject, QStringLiteral("The speech engine could not start"));
        } catch (const Error &error) {
            failure_ = error;
        } catch (const std::exception &error) {
            failure_ = Error(err::CannotCreateObject, QStringLiteral("The speech engine could not start: ") +
                                                          QString::fromLocal8Bit(error.what()));
        }
        if (failure_)
            qCWarning(lcSession).noquote() << "no speech this run:" << failure_->message();
    }
    if (failure_)
        throw *failure_;
    return *engine_;
}

}  // namespace jabbly
