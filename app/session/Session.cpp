// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Session.h"

#include "jabbly/version.h"

#include <QLocale>

Q_LOGGING_CATEGORY(lcSession, "jabbly.session", QtInfoMsg)

namespace jabbly {

Session::Session(SessionServices services, SessionView &view)
    : services_(std::move(services)),
      rowkitLibrary_(services_.componentFolder, QStringLiteral("Rowkit"), RowkitFactory),
      saylineLibrary_(services_.componentFolder, QStringLiteral("Sayline"), SaylineFactory),
      Rowkit_(rowkitLibrary_.instance()),
      Sayline_(saylineLibrary_.instance()),
      commands_(view.transcript(), *services_.Tamsin, *services_.fileSystem),
      turn_(
          view.transcript(), view.inputBox(), HidWord_, HidCPU_, [&view]() -> ItemList & { return view.wordsAdded(); },
          Rowkit_, random_, commands_),
      spokenTurn_(
          Sayline_, services_.tts.get(), [&view] { return view.speechSwitches(); }, services_.speechProblem)
{
    turn_.setSpeaker(&spokenTurn_);
    commands_.setSpeechEngine(services_.tts.get(), view.dialogOwner());
    commands_.setCloseMainWindow([&view] { view.closeMainWindow(); });
}

Session::~Session() { saveWordsQuietly(); }

void Session::saveWordsQuietly()
{
    if (wordsSaved_ || !wordsLoadFailure_.isEmpty() || HidWord_.ListCount() == 0)
        return;
    wordsSaved_ = true;
    try {
        Rowkit_.Listsave(HidWord_, wordsFile());
    } catch (const Error &error) {
        qCWarning(lcSession).noquote() << "the learned words could not be saved:" << error.message() << "(error"
                                       << error.number() << ")";
    }
}

template <typename Step>
void Session::startupStep(const char *what, Step &&step)
{
    try {
        step();
    } catch (const Error &error) {
        qCWarning(lcSession).noquote() << "start-up:" << what << "failed, going on:" << error.message() << "(error"
                                       << error.number() << ")";
        try {
            if (services_.tts)
                services_.tts->setCurrentMode(1);
        } catch (const Error &voiceError) {
            qCWarning(lcSession).noquote() << "start-up: voice 1 could not be selected either:" << voiceError.message();
        }
    }
}

QString Session::missingCpuText() const
{
    return QStringLiteral("Cannot find the file '") + dataFile("cpu.txt") +
           QStringLiteral("'.  Jabbly needs this file in its own folder in order to run.  "
                          "If you do not have this file, please visit ") +
           QLatin1String(version::DownloadPage) +
           QStringLiteral(" to download the latest version.  Jabbly will now close.");
}

QString Session::wordsNotSavedText(const Error &error) const
{
    return QStringLiteral("Cannot save the learned words to '") + wordsFile() + QStringLiteral("'.  ") +
           error.message() + QStringLiteral(" (error ") + QString::number(error.number()) +
           QStringLiteral(").  The file has been left as it was.");
}

QString Session::wordsNotReadText() const
{
    if (wordsOverflowed_)
        return QStringLiteral("'") + wordsFile() + QStringLiteral("' holds more words than Jabbly can keep (") +
               QLocale::system().toString(ItemList::MaxItems) +
               QStringLiteral("), so Jabbly has not replaced it: that would drop the words it could not keep.  "
                              "The words learned in this run were not saved.");
    return QStringLiteral("Jabbly could not read '") + wordsFile() + QStringLiteral("' when it started (") +
           wordsLoadFailure_ +
           QStringLiteral("), so it has not replaced it.  The words learned in this run were not saved.");
}

void Session::listVoices(ItemList &lstVoices)
{
    startupStep("listing the voices", [&] {
        if (!services_.tts)
            throw Error(err::CannotCreateObject, services_.speechProblem.isEmpty() ? QStringLiteral("No speech engine")
                                                                                   : services_.speechProblem);
        Sayline_.ListVoices(lstVoices, *services_.tts);
    });
}

bool Session::loadReplies()
{
    const QString cpuFile = dataFile("cpu.txt");
    // When the existence test itself fails, the load is tried all the same.
    bool exists = true;
    startupStep("the test for cpu.txt", [&] { exists = services_.Tamsin->FileExists(cpuFile); });
    if (!exists) {
        services_.messages->critical(QStringLiteral("cpu.txt Missing"), missingCpuText());
        return false;
    }
    startupStep("loading cpu.txt", [&] {
        try {
            Rowkit_.Listload(HidCPU_, cpuFile);
        } catch (const Error &error) {
            if (HidCPU_.ListCount() == 0)
                turn_.setNoRepliesNotice(ConversationTurn::unreadableRepliesNotice(error.message()));
            throw;
        }
    });
    return true;
}

void Session::loadWords()
{
    const QString file = wordsFile();
    bool exists = true;
    startupStep("the test for words.txt", [&] { exists = services_.Tamsin->FileExists(file); });
    if (!exists)
        return;
    startupStep("loading words.txt", [&] {
        try {
            Rowkit_.Listload(HidWord_, file);
        } catch (const Error &error) {
            if (error.number() != err::FileNotFound && error.number() != err::PathNotFound) {
                wordsLoadFailure_ = error.message();
                wordsOverflowed_ = error.number() == err::Overflow;
            }
            throw;
        }
    });
}

void Session::seedWords()
{
    startupStep("adding the seed word", [&] {
        if (HidWord_.ListCount() == 0)
            HidWord_.AddItem(QStringLiteral("jabbly"));
    });
}

void Session::saveWords()
{
    if (wordsSaved_)
        return;
    wordsSaved_ = true;
    if (!wordsLoadFailure_.isEmpty()) {
        // Saving now would replace the words the program could not read with the few it
        // has: leave the file alone.
        qCWarning(lcSession).noquote() << "words.txt left as it was: it could not be read at start-up";
        services_.messages->critical(QStringLiteral("Words Not Saved"), wordsNotReadText());
        return;
    }
    if (HidWord_.ListCount() == 0)
        return;
    try {
        Rowkit_.Listsave(HidWord_, wordsFile());
    } catch (const Error &error) {
        qCWarning(lcSession).noquote() << "the learned words could not be saved:" << error.message();
        services_.messages->critical(QStringLiteral("Words Not Saved"), wordsNotSavedText(error));
    }
}

void Session::stopSpeaking()
{
    if (!services_.tts)
        return;
    try {
        services_.tts->StopSpeaking();
    } catch (const Error &error) {
        qCWarning(lcSession).noquote() << "speech could not be stopped:" << error.message();
    }
}

QString Session::nameFromCommandLine(const QStringList &arguments) { return arguments.join(QLatin1Char(' ')); }

}  // namespace jabbly
