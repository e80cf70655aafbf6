// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: transcript, name box, input box and Say button, and the menus. It shows
// the run (Session) and forwards the user's actions to it; its load and unload handlers
// run the start-up and shut-down steps in their order.

#include "ui/HelpLauncher.h"
#include "ui/LineEditInput.h"
#include "ui/MainLayout.h"
#include "session/Session.h"
#include "session/SessionView.h"
#include "ui/TextEditTranscript.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace jabbly {

class ComboTool;
class DocumentLauncher;
class SaveDialog;
class frmAddeditems;
class frmFontSize;
class frmVoice;

// The services the windows use that the run does not: main.cpp hands in the real ones.
struct WindowServices {
    std::unique_ptr<ComboTool> comboTool;
    std::unique_ptr<SaveDialog> saveDialog;
    std::unique_ptr<DocumentLauncher> launcher;
    HelpLauncher::Desktop helpDesktop;
};

class frmJabbly : public QMainWindow, public SessionView {
    Q_OBJECT
public:
    // Starts the run with `services`; throws jabbly::Error when a component cannot be
    // loaded. `arguments` are the command-line arguments after the program's name.
    frmJabbly(SessionServices services, WindowServices windowServices, QStringList arguments);
    ~frmJabbly() override;

    // Prepares the run: every start-up step, in order. False when the run ended during
    // start-up (no cpu.txt): the window has then been unloaded and must not be shown.
    // The same as loadBeforeShow() followed by finishLoad().
    bool Form_Load();
    // The start-up steps the user sees, or that decide whether the window is shown at all:
    // the reply file, the help file, the version line, the name. False as Form_Load().
    bool loadBeforeShow();
    // The start-up steps that change nothing on the screen: the speech options window and
    // its voices, the word list and its seed word, the icon's large sizes. They run from a
    // zero-timer queued at the shown window's first paint, so before any key press or click
    // is handled; every user action that could see them runs them first all the same, so no
    // command ever meets a half-started run. Runs once.
    void finishLoad();
    bool loadFinished() const { return startup_ == Startup::Done; }
    // Ends the run: saves the learned words and closes the other windows. Runs once,
    // however the window is closed.
    void Form_Unload();

    void cmdSay_Click();
    void mnuExport_Click();
    void mnuClear_Click();
    void mnuExit_Click();
    void mnuAI_Click();
    void mnuFontSize_Click();
    void mnuSpeech_Click();
    void mnuContents_Click();
    void mnuSF_Click();
    void mnuAbout_Click();
    // F1 anywhere in the main window: the help file at its default page.
    void showHelp();
    HelpLauncher &helpLauncher() { return help_; }

    // The feedback mail link, and what the user is told when no mail program opens it.
    static QString feedbackLink();
    static QString noMailProgramText();

    // The option windows, each loaded (hidden) when it is not there yet.
    frmAddeditems &addedItems();
    frmFontSize &fontSize();
    frmVoice &speechOptions();
    bool addedItemsLoaded() const { return !frmAddeditems_.isNull(); }
    bool fontSizeLoaded() const { return !frmFontSize_.isNull(); }
    bool speechOptionsLoaded() const { return !frmVoice_.isNull(); }

    Session &session() { return *session_; }
    QTextEdit *WW() const { return WW_; }
    QLineEdit *Name1() const { return Name1_; }
    QLineEdit *Say1() const { return Say1_; }
    QPushButton *cmdSay() const { return cmdSay_; }
    TextEditTranscript &transcriptView() { return transcript_; }
    const QString &helpFile() const { return helpFile_; }
    QAction *action(const char *name) const;

Q_SIGNALS:
    // finishLoad() has run: start-up is over, and a request to end can be handled.
    void startUpFinished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The first paint after loadBeforeShow() is the moment finishLoad() is queued for.
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    // SessionView
    Transcript &transcript() override { return transcript_; }
    InputBox &inputBox() override { return input_; }
    ItemList &wordsAdded() override;
    SpeechSwitches speechSwitches() override;
    void closeMainWindow() override { close(); }
    QWidget *dialogOwner() override { return this; }

private:
    void buildControls();
    void listVoices();
    void buildMenus();
    // Shows `window` (modeless, in front of this one) or hides it, as its visibility says.
    void toggle(const char *actionName, QWidget *loaded, const std::function<QWidget &()> &load,
                const QString &hiddenCaption, const QString &shownCaption);
    void fitSayButton();
    void placeAtDesignSize();
    void Form_Resize();
    void applyLayout();

    QWidget *client_;
    QTextEdit *WW_;
    QLineEdit *Name1_;
    QLineEdit *Say1_;
    QPushButton *cmdSay_;
    QPointer<frmAddeditems> frmAddeditems_;
    QPointer<frmFontSize> frmFontSize_;
    QPointer<frmVoice> frmVoice_;
    WindowServices windowServices_;
    HelpLauncher help_;
    TextEditTranscript transcript_;
    LineEditInput input_;

    QStringList arguments_;
    std::unique_ptr<Session> session_;
    MainLayout layout_;
    QString helpFile_;
    bool unloaded_ = false;
    enum class Startup { NotLoaded, Visible, Done };
    Startup startup_ = Startup::NotLoaded;
    bool failedBeforeVoices_ = false;
    bool finishQueued_ = false;
    bool voiceWindowLoadedBefore_ = false;
};

}  // namespace jabbly
