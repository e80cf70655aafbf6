// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversation/Turn.h"

#include "conversation/Transcript.h"
#include "jabbly/error.h"

#include <optional>

namespace jabbly {

ConversationTurn::ConversationTurn(Transcript &transcript, InputBox &inputBox, ItemList &HidWord, ItemList &HidCPU,
                                   WordLearning::ListSource lstAI, Rowkit &rowkit, RandomGenerator &random,
                                   CommandRunner &commands, const QLocale &locale)
    : transcript_(transcript),
      inputBox_(inputBox),
      commands_(commands),
      learning_(HidWord, std::move(lstAI), rowkit),
      composer_(HidWord, HidCPU, random, locale)
{
}

QString ConversationTurn::turnFailedNotice(int number, const QString &message)
{
    return QStringLiteral("NOTE: Sorry, something went wrong while I was answering that line (error %1: %2). "
                          "Nothing else was lost; please go on.")
        .arg(number)
        .arg(message);
}

QString ConversationTurn::speechFailedNotice(int number, const QString &message)
{
    return QStringLiteral("NOTE: Speech did not work this time (error %1: %2). The conversation goes on in writing.")
        .arg(number)
        .arg(message);
}

QString ConversationTurn::noRepliesNotice()
{
    return QStringLiteral("NOTE: I have no replies to choose from: cpu.txt holds no lines. "
                          "Add some reply lines to it and start Jabbly again.");
}

QString ConversationTurn::unreadableRepliesNotice(const QString &reason)
{
    return QStringLiteral("NOTE: I have no replies to choose from: cpu.txt could not be read (") + reason +
           QStringLiteral("). Make sure Jabbly may read it and start Jabbly again.");
}

QString ConversationTurn::lowerCase(const QString &line)
{
    constexpr QChar DottedCapitalI(0x0130);
    qsizetype at = line.indexOf(DottedCapitalI);
    if (at < 0)
        return line.toLower();
    QString lower;
    qsizetype from = 0;
    for (; at >= 0; at = line.indexOf(DottedCapitalI, from)) {
        lower += line.mid(from, at - from).toLower();
        lower += u'i';
        from = at + 1;
    }
    lower += line.mid(from).toLower();
    return lower;
}

QString ConversationTurn::wordListFullNotice()
{
    return QStringLiteral("NOTE: My word list is full (%L1 words), so I cannot learn new words any more. "
                          "Every word I already know is kept.")
        .arg(ItemList::MaxItems);
}

void ConversationTurn::Process(const QString &NameNo, QString &Say)
{
    if (NameNo.isEmpty() || Say.isEmpty())
        return;

    // The turn's writes are shown together when it ends.
    std::optional<Transcript::Batch> batch(std::in_place, transcript_);
    try {
        inputBox_.selectAll();
        transcript_.insName(NameNo + QStringLiteral(": "));
        transcript_.insSayPerson(Say);
        speakUserLine(NameNo, Say);

        const QString line = lowerCase(Say);
        if (const std::optional<Command> command = commandFor(line)) {
            // A command may open a dialog, and "[exit]" may end the window that holds the
            // transcript: the echo is shown first, and the batch is over before it runs.
            batch.reset();
            commands_.run(*command);
            return;  // "[exit]" may have closed the window: touch nothing more.
        }

        if (line == QStringLiteral("hello")) {
            answer(QStringLiteral("Hello"), QStringLiteral("Hello."));
        } else if (line == QStringLiteral("how are you?")) {
            const QString reply = QStringLiteral("I'm fine, how are you?");
            answer(reply, reply);
        } else if (line == QStringLiteral("bye")) {
            const QString reply = QStringLiteral("See you later.");
            answer(reply, reply);
        } else {
            const WordLearning::Result learned = learning_.learn(line);
            const std::optional<QString> reply = composer_.compose(NameNo);
            if (reply)
                answer(*reply, *reply);
            else
                transcript_.insCommand(noRepliesNotice_);
            if (learned.notLearned > 0 && !toldListFull_) {
                toldListFull_ = true;
                transcript_.insCommand(wordListFullNotice());
            }
        }
    } catch (const Error &e) {
        transcript_.insCommand(turnFailedNotice(e.number(), e.message()));
    } catch (const std::exception &e) {
        transcript_.insCommand(turnFailedNotice(0, QString::fromLocal8Bit(e.what())));
    }
}

void ConversationTurn::answer(const QString &written, const QString &spoken)
{
    transcript_.insName(QStringLiteral("CPU: "));
    transcript_.insSayCPU(written);
    speakReply(spoken);
}

void ConversationTurn::speakUserLine(const QString &NameNo, QString &Say)
{
    if (!speaker_)
        return;
    try {
        speaker_->speakUserLine(NameNo, Say);
    } catch (const Error &e) {
        transcript_.insCommand(speechFailedNotice(e.number(), e.message()));
    }
}

void ConversationTurn::speakReply(const QString &reply)
{
    if (!speaker_)
        return;
    try {
        speaker_->speakReply(reply);
    } catch (const Error &e) {
        transcript_.insCommand(speechFailedNotice(e.number(), e.message()));
    }
}

}  // namespace jabbly
