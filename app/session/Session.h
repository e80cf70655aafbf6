// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One run of the program: the word and reply lists, the random generator, the built-in
// commands and the turn, and the file steps of start-up and shut-down. The run reaches the
// outside only through the services it is given and the view that shows it, so it runs
// (and is tested) without a window.

#include "Commands.h"
#include "ComponentLibrary.h"
#include "Components.h"
#include "FileCheck.h"
#include "FileSystem.h"
#include "ItemListModel.h"
#include "RandomGenerator.h"
#include "SessionView.h"
#include "SettingsStore.h"
#include "SpokenTurn.h"
#include "Turn.h"
#include "UserMessages.h"
#include "jabbly/speechengine.h"

#include <QLoggingCategory>

#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcSession)

namespace jabbly {

// Everything a run takes from outside. main.cpp fills it with the real services; tests
// with a temporary folder and fakes.
struct SessionServices {
    QString dataFolder;                 // the program's folder, ending with "/"
    QString wordsFolder;                // where words.txt is, ending with "/"; empty: the program's folder
    QString componentFolder;            // where libRowkit.so and libSayline.so are
    std::unique_ptr<SpeechEngine> tts;  // null when no speech engine could be started
    QString speechProblem;              // why there is no speech engine, when there is none
    std::unique_ptr<FileCheck> Tamsin;
    std::unique_ptr<FileSystem> fileSystem;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<UserMessages> messages;
};

class Session {
public:
    // Loads the two components from the component folder; throws jabbly::Error (429) when
    // one cannot be loaded.
    Session(SessionServices services, SessionView &view);
    // A run that was never ended (the application quit some other way) still saves its
    // words; failures are logged, since no window is left to tell the user.
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Start-up's file steps, in the order the main window runs them. A failing step
    // selects voice 1 and start-up goes on; the failure is logged.
    // Step 2's part of the run: fills the speech options window's voice list from the
    // engine and selects its preferred voice (which the list's selection event makes
    // current). Without an engine the list stays empty.
    void listVoices(ItemList &lstVoices);
    // Step 3: loads cpu.txt into HidCPU. False when cpu.txt is missing: the user has been
    // told, and the window must end the run.
    bool loadReplies();
    // Step 4: loads words.txt, when there is one, into HidWord.
    void loadWords();
    // Step 5: the help file's path.
    QString helpFile() const { return dataFile("jabbly.chm"); }
    // Step 6: the seed word "jabbly" when HidWord is empty.
    void seedWords();

    // Shut-down step 1: saves HidWord to words.txt (unless it is empty, or words.txt was
    // there but could not be read). Failures are told to the user. Runs once.
    void saveWords();
    // The same save when no one can be told: failures are logged. For a process that is
    // ending without its windows (the X connection broke).
    void saveWordsQuietly();
    // Shut-down step 2's part of the run: stops any speech.
    void stopSpeaking();

    // One turn with the user's name and line.
    void Process(const QString &NameNo, QString &Say) { turn_.Process(NameNo, Say); }

    // The user's name from the command line as the program received it: the arguments
    // after the program's name joined by blanks, unchanged; empty without arguments.
    static QString nameFromCommandLine(const QStringList &arguments);

    // A file in the program's data folder.
    QString dataFile(const char *name) const { return services_.dataFolder + QLatin1String(name); }
    const QString &dataFolder() const { return services_.dataFolder; }
    // words.txt: in the program's folder, or where the services say when that folder is
    // not the user's to write.
    QString wordsFile() const
    {
        return (services_.wordsFolder.isEmpty() ? services_.dataFolder : services_.wordsFolder) +
               QStringLiteral("words.txt");
    }

    ItemListModel &HidCPU() { return HidCPU_; }
    ItemListModel &HidWord() { return HidWord_; }
    Rowkit &rowkit() { return Rowkit_; }
    Sayline &sayline() { return Sayline_; }
    SpeechEngine *tts() const { return services_.tts.get(); }
    const QString &speechProblem() const { return services_.speechProblem; }
    SettingsStore &settings() { return *services_.settings; }
    UserMessages &messages() { return *services_.messages; }
    ConversationTurn &turn() { return turn_; }
    BuiltInCommands &commands() { return commands_; }

    // The texts the user is shown.
    QString missingCpuText() const;
    QString wordsNotSavedText(const Error &error) const;
    QString wordsNotReadText() const;

private:
    template <typename Step>
    void startupStep(const char *what, Step &&step);

    SessionServices services_;
    ComponentLibrary rowkitLibrary_;
    ComponentLibrary saylineLibrary_;
    Rowkit Rowkit_;
    Sayline Sayline_;

    ItemListModel HidCPU_{false};
    ItemListModel HidWord_{true};
    RandomGenerator random_;
    BuiltInCommands commands_;
    ConversationTurn turn_;
    SpokenTurn spokenTurn_;

    QString wordsLoadFailure_;      // why words.txt could not be read, if it could not
    bool wordsOverflowed_ = false;  // words.txt holds more words than a list can
    bool wordsSaved_ = false;
};

}  // namespace jabbly
