#pragma once
// The main window: transcript, name box, input box and Say button, the menus, and the
// run's start-up (Form_Load) and shut-down (Form_Unload).

#include "Commands.h"
#include "ComponentLibrary.h"
#include "Components.h"
#include "FileCheck.h"
#include "FileSystem.h"
#include "ItemListModel.h"
#include "MainLayout.h"
#include "MessageBoxes.h"
#include "RandomGenerator.h"
#include "Transcript.h"
#include "Turn.h"
#include "jabbly/speechengine.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace jabbly {

class frmAddeditems;

class frmJabbly : public QMainWindow {
    Q_OBJECT
public:
    // Everything the window takes from outside: where it lives, what it was started with,
    // and the services it talks to. Tests build one around a temporary folder and fakes.
    struct Setup {
        QString dataFolder;       // the program's folder, ending with "/"
        QString componentFolder;  // where libRowkit.so and libSayline.so are
        QStringList arguments;    // command-line arguments after the program's name
        std::unique_ptr<SpeechEngine> tts;  // null when no speech engine could be started
        std::unique_ptr<FileCheck> Tamsin;
        std::unique_ptr<FileSystem> fileSystem;
        std::unique_ptr<MessageBoxes> messages;

        static Setup forThisProgram(const QStringList &arguments);
    };

    // Loads the two components from the component folder; throws jabbly::Error when one
    // cannot be loaded.
    explicit frmJabbly(Setup setup);
    ~frmJabbly() override;

    // Prepares the run. False when the run ended during start-up (no cpu.txt): the window
    // has then been unloaded and must not be shown.
    bool Form_Load();
    // Ends the run: saves the learned words and closes the other windows. Runs once,
    // however the window is closed.
    void Form_Unload();

    void cmdSay_Click();
    void Process(const QString &NameNo, QString &Say);

    void mnuClear_Click();
    void mnuExit_Click();
    void mnuAI_Click();

    // The words-added window, loaded (hidden) when it is not there yet.
    frmAddeditems &addedItems();
    bool addedItemsLoaded() const { return !frmAddeditems_.isNull(); }

    QTextEdit *WW() const { return WW_; }
    QLineEdit *Name1() const { return Name1_; }
    QLineEdit *Say1() const { return Say1_; }
    QPushButton *cmdSay() const { return cmdSay_; }
    TextEditTranscript &transcript() { return transcript_; }
    ItemListModel &HidCPU() { return HidCPU_; }
    ItemListModel &HidWord() { return HidWord_; }
    SpeechEngine *tts() const { return setup_.tts.get(); }
    const MainLayout &layoutTwips() const { return layout_; }
    const QString &dataFolder() const { return setup_.dataFolder; }
    const QString &helpFile() const { return helpFile_; }
    QAction *action(const char *name) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void placeAtDesignSize();
    void Form_Resize();
    void applyLayout();
    // One statement of start-up: a failure selects voice 1 and start-up goes on.
    template <typename Step>
    void startupStep(Step &&step);
    // A file in the program's data folder.
    QString dataFile(const char *name) const;
    void saveWords();
    QString missingCpuText() const;

    Setup setup_;
    ComponentLibrary rowkitLibrary_;
    ComponentLibrary saylineLibrary_;
    Rowkit Rowkit_;
    Sayline Sayline_;

    QWidget *client_;
    QTextEdit *WW_;
    QLineEdit *Name1_;
    QLineEdit *Say1_;
    QPushButton *cmdSay_;
    ItemListModel HidCPU_{false};
    ItemListModel HidWord_{true};
    QPointer<frmAddeditems> frmAddeditems_;

    TextEditTranscript transcript_;
    LineEditInput input_;
    RandomGenerator random_;
    BuiltInCommands commands_;
    ConversationTurn turn_;

    MainLayout layout_;
    QString helpFile_;
    QString wordsLoadFailure_;  // why words.txt could not be read, if it could not
    bool unloaded_ = false;
};

}  // namespace jabbly
