// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One run of the program: the word and reply lists, the random generator, the built-in
// commands and the turn, and the file steps of start-up and shut-down. The run reaches the
// outside only through the services it is given and the view that shows it, so it runs
// (and is tested) without a window.

#include "conversation/Commands.h"
#include "components/ComponentLibrary.h"
#include "components/Components.h"
#include "conversation/FileCheck.h"
#include "conversation/FileSystem.h"
#include "lists/ItemListModel.h"
#include "conversation/RandomGenerator.h"
#include "session/SessionView.h"
#include "session/SettingsStore.h"
#include "session/SpokenTurn.h"
#include "conversation/Turn.h"
#include "session/UserMessages.h"
#include "jabbly/speechengine.h"

#include <memory>

namespace jabbly {

// Everything a run takes from outside. main.cpp fills it with the real services; tests
// with a temporary folder and fakes.
struct SessionServices {
    QString dataFolder;                 // the program's folder, ending with "/"
    QString wordsFolder;                // where words.txt is, ending with "/"; empty: the program's folder
    QString componentFolder;            // where libRowkit.so and libSayline.so are
    QString userDataFolder;             // the user's data folder for the program, ending with "/"; empty: none
    std::unique_ptr<SpeechEngine> tts;  // null when no speech engine could be started
    QString speechProblem;              // why there is no speech engine, when there is none
    std::unique_ptr<FileCheck> fileCheck;
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
    // told, and the window must end the run. A copy whose words are kept apart from the
    // program (an installed one) reads the user's own cpu.txt beside words.txt when there
    // is one, else the delivered one beside the program. The same as findReplies(), then
    // tellRepliesMissing() or readReplies().
    bool loadReplies();
    // Step 3's parts: which cpu.txt to read and the test that it exists (a test that fails
    // counts as found, so that the load is tried all the same), the missing-file message,
    // and the load of what findReplies() found.
    bool findReplies();
    void tellRepliesMissing();
    void readReplies();
    // The cpu.txt that loadReplies read (or tried to).
    const QString &repliesFile() const { return repliesFile_; }
    // Step 4: loads words.txt, when there is one, into HidWord. A save of it that was cut
    // short is undone first (the complete old content is put back), and words that an
    // earlier run ended from outside could not save are told about, with where they are.
    void loadWords();
    // Step 5: the help file's path.
    QString helpFile() const { return dataFile("jabbly.chm"); }
    // Step 6: the seed word "jabbly" when HidWord is empty.
    void seedWords();

    // How many start-up steps have failed so far.
    int startupFailures() const { return startupFailures_; }
    // What a failed start-up step does to the speech engine: voice 1 becomes current.
    void selectFirstVoice();

    // Shut-down step 1: saves HidWord to words.txt (unless it is empty, or words.txt was
    // there but could not be read). Failures are told to the user. Runs once.
    void saveWords();
    // The run is being ended from outside (`why`: a signal, the end of the desktop
    // session): nobody may be there to answer a message, and waiting for one would only
    // hold the end up. When the words cannot be saved from now on, they are kept in the
    // user's data folder instead, the reason is logged, and the next start says where.
    void endingFromOutside(const QString &why);
    // The save of a process that is ending without its windows (the X connection broke,
    // the run was destroyed without its shut-down): as above.
    void saveWordsQuietly(const QString &why);
    // Shut-down step 2's part of the run: stops any speech.
    void stopSpeaking();

    // One turn with the user's name and line.
    void Process(const QString &NameNo, QString &Say) { turn_.Process(NameNo, Say); }

    // The user's name from the command line as the program received it: the arguments
    // after the program's name joined by blanks, unchanged; empty without arguments.
    static QString nameFromCommandLine(const QStringList &arguments);

    // A file in the program's data folder.
    QString dataFile(const char *name) const { return services_.dataFolder + QLatin1String(name); }
    // words.txt: in the program's folder, or where the services say when that folder is
    // not the user's to write.
    QString wordsFile() const
    {
        return (services_.wordsFolder.isEmpty() ? services_.dataFolder : services_.wordsFolder) +
               QStringLiteral("words.txt");
    }

    ItemListModel &HidCPU() { return HidCPU_; }
    ItemListModel &HidWord() { return HidWord_; }
    SpeechEngine *tts() const { return services_.tts.get(); }
    SettingsStore &settings() { return *services_.settings; }
    UserMessages &messages() { return *services_.messages; }

    // The texts the user is shown.
    QString missingCpuText() const;
    QString wordsNotSavedText(const Error &error) const;
    QString wordsNotReadText() const;
    // Where the words go that a run ended from outside could not save, and the notice that
    // the next start reads.
    QString keptWordsNotice() const { return services_.userDataFolder + QStringLiteral("words-not-saved.notice"); }

private:
    template <typename Step>
    void startupStep(const char *what, Step &&step);
    void wordsNotSaved(const QString &title, const QString &text, const QString &reason);
    void keepUnsavedWords(const QString &reason);
    void tellAboutKeptWords();
    // Whether the user's files live apart from the program's folder.
    bool keepsUserFilesApart() const;

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

    int startupFailures_ = 0;
    QString repliesFile_;
    QString wordsLoadFailure_;      // why words.txt could not be read, if it could not
    bool wordsOverflowed_ = false;  // words.txt holds more words than a list can
    bool wordsSaved_ = false;
    QString endingFromOutside_;  // why the run is being ended from outside, if it is
};

}  // namespace jabbly
