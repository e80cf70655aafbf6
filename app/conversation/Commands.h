// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The built-in commands: seven bracketed words typed as the whole line.

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace jabbly {

class FileCheck;
class FileSystem;
class SpeechEngine;
class Transcript;

// In the order the turn tests them.
enum class Command { Time, Date, Swap, Version, Exit, Speech, Commands };

// The command's text as typed: "[time]", "[date]", ...
QString commandName(Command command);

// The command that `line` (lower-cased) is, when it is one: the whole line must be the
// command's text exactly.
std::optional<Command> commandFor(const QString &line);

// What the turn needs of the commands.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    virtual void run(Command command) = 0;
};

class BuiltInCommands : public CommandRunner {
public:
    // Every answer is one teal line written with the transcript's insCommand. `fileCheck`
    // is asked whether the swap file exists; `fileSystem` measures it.
    BuiltInCommands(Transcript &transcript, FileCheck &fileCheck, FileSystem &fileSystem);

    // The engine whose lexicon dialog "[speech]" opens, owned by `owner` (the main
    // window). Without an engine "[speech]" says that no speech engine is available.
    void setSpeechEngine(SpeechEngine *tts, QWidget *owner);
    // Closes the main window exactly as its close box does; "[exit]" calls it.
    void setCloseMainWindow(std::function<void()> close);
    // Where "[time]" and "[date]" read the time (the system clock by default).
    void setClock(std::function<QDateTime()> now);
    // The locale of the day and month names, the AM/PM designators and the decimal
    // separator (the system locale by default).
    void setLocale(const QLocale &locale);
    // The kernel's table of swap areas ("/proc/swaps" by default) and the file measured
    // when it lists no swap file that exists ("/swapfile" by default).
    void setSwapTable(const QString &swapsPath, const QString &fallback = QStringLiteral("/swapfile"));

    void run(Command command) override;

    // Size of the file `filespec` in bytes. Throws jabbly::Error when it cannot be measured.
    double FSize(const QString &filespec);

    // The answers' texts, as written.
    QString timeText() const;                  // "hh:nn:ss ampm"
    QString dateText() const;                  // "dddd dd mmmm yyyy"
    QString swapSizeText(double bytes) const;  // megabytes as a general number + "MB"
    // `value` with up to 15 significant digits, in full (never in exponent form), without
    // trailing zeros or thousands separators, in ASCII digits, with `decimalPoint`.
    static QString generalNumber(double value, const QString &decimalPoint);
    static constexpr qint64 MaxSwapTableBytes = 1 << 20;
    static QString versionText();
    static QString commandsText();

    // The path of the first swap file (not partition) in a /proc/swaps table, or empty.
    static QString firstSwapFile(const QByteArray &table);

private:
    void swap();
    void speech();

    Transcript &transcript_;
    FileCheck &fileCheck_;
    FileSystem &fileSystem_;
    SpeechEngine *tts_ = nullptr;
    QWidget *owner_ = nullptr;
    std::function<void()> close_;
    std::function<QDateTime()> now_;
    QLocale locale_;
    QString swapsPath_ = QStringLiteral("/proc/swaps");
    QString fallbackSwap_ = QStringLiteral("/swapfile");
};

}  // namespace jabbly
