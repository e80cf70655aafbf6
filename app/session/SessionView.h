// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the run needs of the window that shows it. The main window implements it; tests
// use a recording one.

#include "session/SpeechSettings.h"
#include "conversation/Transcript.h"
#include "conversation/Turn.h"

class QWidget;

namespace jabbly {

class SessionView {
public:
    virtual ~SessionView() = default;

    // The transcript WW and the input box Say1.
    virtual Transcript &transcript() = 0;
    virtual InputBox &inputBox() = 0;
    // lstAI, the list of the words-added window, which is loaded (hidden) when it is not.
    virtual ItemList &wordsAdded() = 0;
    // The speech options window's two switches, read as they are now (loading the window,
    // hidden, when it is not loaded).
    virtual SpeechSwitches speechSwitches() = 0;
    // Closes the main window exactly as its close box does ("[exit]").
    virtual void closeMainWindow() = 0;
    // The window that owns the dialogs the run opens (the speech engine's lexicon dialog):
    // only passed on, never used by the run itself.
    virtual QWidget *dialogOwner() = 0;
};

}  // namespace jabbly
