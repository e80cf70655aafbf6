// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window for the run, for tests: a recording transcript, an input box that counts its
// selections, a words-added list and a close that is counted.

#include "lists/ItemListModel.h"
#include "RecordingTranscript.h"
#include "session/SessionView.h"

namespace jabbly::testing {

class FakeSessionView : public SessionView {
public:
    struct CountingInput : InputBox {
        void selectAll() override { ++selections; }
        int selections = 0;
    };

    Transcript &transcript() override { return WW; }
    InputBox &inputBox() override { return Say1; }
    ItemList &wordsAdded() override { return lstAI; }
    SpeechSwitches speechSwitches() override
    {
        ++switchReads;
        return switches;
    }
    void closeMainWindow() override { ++closes; }
    QWidget *dialogOwner() override { return nullptr; }

    RecordingTranscript WW;
    CountingInput Say1;
    ItemListModel lstAI{true};
    SpeechSwitches switches;
    int switchReads = 0;
    int closes = 0;
};

}  // namespace jabbly::testing
