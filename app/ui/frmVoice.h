// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The speech options window: the voice list, the speed, and the two switches that decide
// whether turns are spoken ("&Speak") and whether the speaker's name is said first
// ("Say &names"). The switches are read from the settings store when the window loads and
// written back when it unloads; voice and speed last for the run only.

#include "lists/ItemListModel.h"
#include "session/SpeechSettings.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QListView;

namespace jabbly {

class ComboTool;
class SettingsStore;
class SpeechEngine;
class UserMessages;

class frmVoice : public QWidget {
    Q_OBJECT
public:
    struct Services {
        SettingsStore &settings;
        SpeechEngine *tts;  // null without a speech engine
        ComboTool &comboTool;
        UserMessages &messages;
    };

    // Loads the window, hidden: reads the switches, fills the speed list and sets speed 150.
    frmVoice(QWidget *owner, Services services);
    // Unloads it: writes the switches.
    ~frmVoice() override;

    // Fills lstVoices from the engine and selects its current voice: what the window shows
    // when it is loaded again after a close (at start-up the voice listing fills it).
    void fillVoicesFromEngine();

    SpeechSwitches switches() const;

    ItemListModel &lstVoices() { return lstVoices_; }
    QListView *lstVoicesView() const { return lstVoicesView_; }
    QCheckBox *chkSpeak() const { return chkSpeak_; }
    QComboBox *cmbSpeed() const { return cmbSpeed_; }
    QCheckBox *chkNames() const { return chkNames_; }

    // The message of a voice the engine refused.
    static QString voiceErrorText(const QString &voice);

protected:
    void changeEvent(QEvent *event) override;

private:
    void placeControls();
    void cmbSpeed_Click();
    void lstVoices_Click();
    void Form_Load(const SpeechSwitches &stored);
    // Makes the voice list's horizontal extent room enough for items first..last.
    void widenFor(int first, int last);

    Services services_;
    ItemListModel lstVoices_{false};
    ItemListModel cmbSpeedList_{false};
    QListView *lstVoicesView_;
    QCheckBox *chkSpeak_;
    QComboBox *cmbSpeed_;
    QCheckBox *chkNames_;
};

}  // namespace jabbly
