// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One turn of the conversation: from the Say button to the answer. The turn touches the
// windows only through the small interfaces below, so it runs (and is tested) without them.

#include "conversation/Commands.h"
#include "conversation/ReplyComposer.h"
#include "conversation/WordLearning.h"

#include <QString>

namespace jabbly {

class RandomGenerator;
class Rowkit;
class Transcript;

// The input box Say1, as far as the turn needs it.
class InputBox {
public:
    virtual ~InputBox() = default;
    // Selects the box's whole text, which stays in the box.
    virtual void selectAll() = 0;
};

// Speaking a turn. The turn calls the speaker at its two speaking points and leaves every
// decision to it: the speech switches, the speaker labels, the speech filter, whether a
// blank line is worth speaking. Without a speaker (the default) the turn speaks nothing.
// A jabbly::Error from the speaker is reported in the transcript and the turn goes on.
class TurnSpeaker {
public:
    virtual ~TurnSpeaker() = default;
    // Right after the echo. May rewrite `Say` in place (the speech filter's character
    // replacements); the rest of the turn then works on the rewritten line.
    virtual void speakUserLine(const QString &NameNo, QString &Say) = 0;
    // After a canned or composed reply has been written; never for a command.
    virtual void speakReply(const QString &reply) = 0;
};

class ConversationTurn {
public:
    ConversationTurn(Transcript &transcript, InputBox &inputBox, ItemList &HidWord, ItemList &HidCPU,
                     WordLearning::ListSource lstAI, Rowkit &rowkit, RandomGenerator &random, CommandRunner &commands,
                     const QLocale &locale = QLocale::system());

    // Why HidCPU holds no reply template, told at each turn that needs one: by default,
    // that cpu.txt holds no lines.
    void setNoRepliesNotice(const QString &notice) { noRepliesNotice_ = notice; }

    // Speech on (a speaker) or off (nullptr). Not owned.
    void setSpeaker(TurnSpeaker *speaker) { speaker_ = speaker; }

    // Runs one turn with the user's name and line. Nothing happens when either is empty.
    // After "[exit]" the turn returns at once and touches nothing more, so the close
    // callback may end the window that owns this object (after the call returns).
    void Process(const QString &NameNo, QString &Say);

    // Lines written with insCommand when something goes wrong.
    static QString turnFailedNotice(int number, const QString &message);
    static QString speechFailedNotice(int number, const QString &message);
    static QString noRepliesNotice();
    static QString unreadableRepliesNotice(const QString &reason);

    // The line lower-cased as the turn compares and learns it. The Turkish capital dotted
    // I becomes a plain "i" (not "i" and a combining dot), so "[TİME]" is a command.
    static QString lowerCase(const QString &line);
    static QString wordListFullNotice();

private:
    void speakUserLine(const QString &NameNo, QString &Say);
    void speakReply(const QString &reply);
    void answer(const QString &written, const QString &spoken);

    Transcript &transcript_;
    InputBox &inputBox_;
    CommandRunner &commands_;
    WordLearning learning_;
    ReplyComposer composer_;
    TurnSpeaker *speaker_ = nullptr;
    QString noRepliesNotice_ = noRepliesNotice();
    bool toldListFull_ = false;
};

}  // namespace jabbly
