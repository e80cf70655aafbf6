// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Session.h"

#include "safefile/SafeWrite.h"
#include "session/Logging.h"
#include "jabbly/version.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace jabbly {

Session::Session(SessionServices services, SessionView &view)
    : services_(std::move(services)),
      rowkitLibrary_(services_.componentFolder, QStringLiteral("Rowkit"), RowkitFactory),
      saylineLibrary_(services_.componentFolder, QStringLiteral("Sayline"), SaylineFactory),
      Rowkit_(rowkitLibrary_.instance()),
      Sayline_(saylineLibrary_.instance()),
      commands_(view.transcript(), *services_.fileCheck, *services_.fileSystem),
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

Session::~Session() { saveWordsQuietly(QStringLiteral("the run ended without its shut-down")); }

void Session::endingFromOutside(const QString &why)
{
    if (endingFromOutside_.isEmpty())
        endingFromOutside_ = why;
}

void Session::saveWordsQuietly(const QString &why)
{
    endingFromOutside(why);
    saveWords();
}

void Session::wordsNotSaved(const QString &title, const QString &text, const QString &reason)
{
    if (endingFromOutside_.isEmpty())
        services_.messages->critical(title, text);
    else
        keepUnsavedWords(reason);
}

void Session::keepUnsavedWords(const QString &reason)
{
    if (HidWord_.ListCount() == 0)
        return;
    if (services_.userDataFolder.isEmpty() || !QDir().mkpath(services_.userDataFolder)) {
        qCWarning(lcWords).noquote() << "the learned words are lost: the run is ending (" << endingFromOutside_
                                     << ") and there is no folder to keep them in";
        return;
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString kept = services_.userDataFolder + QStringLiteral("words-not-saved-%1.txt").arg(stamp);
    for (int n = 2; QFileInfo::exists(kept); ++n)
        kept = services_.userDataFolder + QStringLiteral("words-not-saved-%1-%2.txt").arg(stamp).arg(n);
    try {
        Rowkit_.Listsave(HidWord_, kept);
        // One line per kept file: where it is, where the words belonged, and why they are not there.
        QByteArray notice;
        QFile old(keptWordsNotice());
        if (old.open(QIODevice::ReadOnly))
            notice = old.readAll();
        old.close();
        QString line = kept + u'\t' + wordsFile() + u'\t' + reason;
        line.replace(u'\n', u' ');
        notice += line.toUtf8() + '\n';
        safefile::replaceFile(keptWordsNotice(), notice);
        qCWarning(lcWords).noquote() << "the learned words could not be saved to" << wordsFile() << "(" << reason
                                     << ") while the run was ending (" << endingFromOutside_ << "); they are kept in"
                                     << kept;
    } catch (const Error &error) {
        qCWarning(lcWords).noquote() << "the learned words are lost: they could not be saved to" << wordsFile() << "("
                                     << reason << ") nor kept in" << kept << "(" << error.message() << ")";
    }
}

void Session::tellAboutKeptWords()
{
    if (services_.userDataFolder.isEmpty())
        return;
    QFile notice(keptWordsNotice());
    if (!notice.open(QIODevice::ReadOnly))
        return;
    QStringList told;
    for (const QByteArray &line : notice.readAll().split('\n')) {
        const QStringList parts = QString::fromUtf8(line).split(u'\t');
        if (parts.size() == 3)
            told << QStringLiteral("Jabbly could not save the learned words to '%1' when it was last ended (%2).  They "
                                   "have been kept in '%3'.")
                        .arg(parts[1], parts[2], parts[0]);
    }
    notice.close();
    if (!told.isEmpty())
        services_.messages->critical(QStringLiteral("Words Not Saved"), told.join(QStringLiteral("\n\n")));
    if (!QFile::remove(keptWordsNotice()))
        qCWarning(lcWords).noquote() << "cannot remove" << keptWordsNotice() << "; its words will be told about again";
}

template <typename Step>
void Session::startupStep(const char *what, Step &&step)
{
    try {
        step();
    } catch (const Error &error) {
        qCWarning(lcSession).noquote() << "start-up:" << what << "failed, going on:" << error.message() << "(error"
                                       << error.number() << ")";
        ++startupFailures_;
        selectFirstVoice();
    }
}

void Session::selectFirstVoice()
{
    try {
        if (services_.tts)
            services_.tts->setCurrentMode(1);
    } catch (const Error &voiceError) {
        qCWarning(lcSession).noquote() << "start-up: voice 1 could not be selected either:" << voiceError.message();
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

bool Session::keepsUserFilesApart() const
{
    return !services_.wordsFolder.isEmpty() && services_.wordsFolder != services_.dataFolder;
}

bool Session::loadReplies()
{
    if (!findReplies()) {
        tellRepliesMissing();
        return false;
    }
    readReplies();
    return true;
}

bool Session::findReplies()
{
    QString cpuFile = dataFile("cpu.txt");
    // An installed copy's cpu.txt belongs to the system and is replaced at every upgrade:
    // replies of the user's own go beside the user's words.txt, and win when they are there.
    if (keepsUserFilesApart()) {
        const QString own = services_.wordsFolder + QStringLiteral("cpu.txt");
        bool ownExists = false;
        startupStep("the test for the user's own cpu.txt", [&] { ownExists = services_.fileCheck->FileExists(own); });
        if (ownExists) {
            qCInfo(lcSession).noquote() << "the replies are read from" << own;
            cpuFile = own;
        }
    }
    repliesFile_ = cpuFile;
    // When the existence test itself fails, the load is tried all the same.
    bool exists = true;
    startupStep("the test for cpu.txt", [&] { exists = services_.fileCheck->FileExists(cpuFile); });
    return exists;
}

void Session::tellRepliesMissing()
{
    services_.messages->critical(QStringLiteral("cpu.txt Missing"), missingCpuText());
}

void Session::readReplies()
{
    const QString cpuFile = repliesFile_;
    startupStep("loading cpu.txt", [&] {
        try {
            Rowkit_.Listload(HidCPU_, cpuFile);
        } catch (const Error &error) {
            if (HidCPU_.ListCount() == 0)
                turn_.setNoRepliesNotice(ConversationTurn::unreadableRepliesNotice(error.message()));
            throw;
        }
    });
}

void Session::loadWords()
{
    const QString file = wordsFile();
    // An in-place save that was cut short left a complete copy of the old content: it is
    // put back silently, since the user never saw the half-written file.
    startupStep("putting back words.txt after an unfinished save", [&] {
        const QString copy = safefile::recoverInterruptedWrite(file);
        if (!copy.isEmpty())
            qCWarning(lcWords).noquote() << "the last save of" << file
                                         << "did not finish; its old content was put back from" << copy;
    });
    tellAboutKeptWords();
    bool exists = true;
    startupStep("the test for words.txt", [&] { exists = services_.fileCheck->FileExists(file); });
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
        wordsNotSaved(QStringLiteral("Words Not Saved"), wordsNotReadText(),
                      QStringLiteral("it could not be read at start-up: ") + wordsLoadFailure_);
        return;
    }
    if (HidWord_.ListCount() == 0)
        return;
    try {
        Rowkit_.Listsave(HidWord_, wordsFile());
    } catch (const Error &error) {
        qCWarning(lcSession).noquote() << "the learned words could not be saved:" << error.message();
        wordsNotSaved(QStringLiteral("Words Not Saved"), wordsNotSavedText(error),
                      error.message() + QStringLiteral(" (error ") + QString::number(error.number()) + u')');
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
