// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversation/Commands.h"

#include "conversation/FileCheck.h"
#include "conversation/FileSystem.h"
#include "conversation/Transcript.h"
#include "jabbly/error.h"
#include "jabbly/speechengine.h"
#include "conversation/Logging.h"
#include "jabbly/version.h"
#include "safefile/SafeRead.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <cmath>
#include <iterator>

namespace jabbly {

namespace {

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

// /proc/swaps writes blanks, tabs, newlines and backslashes in a path as \ooo.
QString unescapePath(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
            field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
            out.append(
                static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0')));
            i += 3;
        } else {
            out.append(field[i]);
        }
    }
    return QFile::decodeName(out);
}

// The commands' texts as typed, in the order of Command.
constexpr QLatin1StringView CommandNames[] = {
    QLatin1StringView("[time]"),     QLatin1StringView("[date]"), QLatin1StringView("[swap]"),
    QLatin1StringView("[version]"),  QLatin1StringView("[exit]"), QLatin1StringView("[speech]"),
    QLatin1StringView("[commands]"),
};
static_assert(std::size(CommandNames) == static_cast<std::size_t>(Command::Commands) + 1);

// The start of a command's answer: "COMMAND: [TIME] - ".
QString answerStart(Command command)
{
    return QStringLiteral("COMMAND: ") + commandName(command).toUpper() + QStringLiteral(" - ");
}

}  // namespace

QString commandName(Command command) { return CommandNames[static_cast<std::size_t>(command)]; }

std::optional<Command> commandFor(const QString &line)
{
    if (!line.startsWith(u'['))
        return std::nullopt;
    for (std::size_t i = 0; i < std::size(CommandNames); ++i) {
        if (line == CommandNames[i])
            return static_cast<Command>(i);
    }
    return std::nullopt;
}

BuiltInCommands::BuiltInCommands(Transcript &transcript, FileCheck &fileCheck, FileSystem &fileSystem)
    : transcript_(transcript),
      fileCheck_(fileCheck),
      fileSystem_(fileSystem),
      now_([] { return QDateTime::currentDateTime(); }),
      locale_(QLocale::system())
{
}

void BuiltInCommands::setSpeechEngine(SpeechEngine *tts, QWidget *owner)
{
    tts_ = tts;
    owner_ = owner;
}

void BuiltInCommands::setCloseMainWindow(std::function<void()> close) { close_ = std::move(close); }
void BuiltInCommands::setClock(std::function<QDateTime()> now) { now_ = std::move(now); }
void BuiltInCommands::setLocale(const QLocale &locale) { locale_ = locale; }

void BuiltInCommands::setSwapTable(const QString &swapsPath, const QString &fallback)
{
    swapsPath_ = swapsPath;
    fallbackSwap_ = fallback;
}

void BuiltInCommands::run(Command command)
{
    switch (command) {
    case Command::Time:
        transcript_.insCommand(answerStart(Command::Time) + timeText());
        break;
    case Command::Date:
        transcript_.insCommand(answerStart(Command::Date) + dateText());
        break;
    case Command::Swap:
        swap();
        break;
    case Command::Version:
        transcript_.insCommand(versionText());
        break;
    case Command::Exit:
        // The window's shut-down saves the words; nothing is written here.
        if (close_)
            close_();
        break;
    case Command::Speech:
        speech();
        break;
    case Command::Commands:
        transcript_.insCommand(commandsText());
        break;
    }
}

double BuiltInCommands::FSize(const QString &filespec) { return static_cast<double>(fileSystem_.FileSize(filespec)); }

QString BuiltInCommands::timeText() const
{
    const QTime t = now_().time();
    const int hour = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
    return twoDigits(hour) + u':' + twoDigits(t.minute()) + u':' + twoDigits(t.second()) + u' ' +
           (t.hour() < 12 ? locale_.amText() : locale_.pmText());
}

QString BuiltInCommands::dateText() const
{
    const QDate d = now_().date();
    return locale_.dayName(d.dayOfWeek(), QLocale::LongFormat) + u' ' + twoDigits(d.day()) + u' ' +
           locale_.monthName(d.month(), QLocale::LongFormat) + u' ' + QString::number(d.year()).rightJustified(4, u'0');
}

QString BuiltInCommands::swapSizeText(double bytes) const
{
    return generalNumber(bytes / 1024 / 1024, locale_.decimalPoint()) + QStringLiteral("MB");
}

QString BuiltInCommands::generalNumber(double value, const QString &decimalPoint)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == 0)
        return QStringLiteral("0");
    // The 15 significant digits and the power of ten from the C locale's scientific form
    // ("-d.ddddddddddddddde+XX"), then written out in full: no exponent, however small or
    // large, and ASCII digits whatever the locale's own.
    const QString scientific = QString::number(std::fabs(value), 'e', 14);
    const qsizetype e = scientific.indexOf(u'e');
    QString digits = scientific.left(e);
    digits.remove(u'.');
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);
    const int exponent = QStringView(scientific).sliced(e + 1).toInt();
    QString whole, fraction;
    if (exponent >= 0) {
        const qsizetype wholeDigits = qsizetype{exponent} + 1;
        whole = digits.left(wholeDigits).leftJustified(wholeDigits, u'0');
        fraction = digits.mid(wholeDigits);
    } else {
        whole = QStringLiteral("0");
        fraction = QString(-exponent - 1, u'0') + digits;
    }
    QString out = value < 0 ? QStringLiteral("-") + whole : whole;
    if (!fraction.isEmpty())
        out += decimalPoint + fraction;
    return out;
}

QString BuiltInCommands::versionText()
{
    return answerStart(Command::Version) +
           QStringLiteral("Jabbly V%1.  %2").arg(versionNumber(), QString::fromUtf8(version::CompanyName));
}

QString BuiltInCommands::commandsText()
{
    // Every command, in alphabetical order.
    QStringList names;
    for (const QLatin1StringView name : CommandNames)
        names.append(QString(name).toUpper());
    names.sort();
    return answerStart(Command::Commands) + names.join(u' ');
}

QString BuiltInCommands::firstSwapFile(const QByteArray &table)
{
    // Filename Type Size Used Priority, after one heading line, apart by blanks and tabs.
    // Only those are separators: the kernel escapes them (and newlines and backslashes) in
    // a name, but writes every other character, a carriage return too, as it is.
    const auto separator = [](char c) { return c == ' ' || c == '\t'; };
    const QList<QByteArray> lines = table.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        QByteArray fields[2];
        qsizetype at = 0;
        for (QByteArray &field : fields) {
            while (at < line.size() && separator(line[at]))
                ++at;
            const qsizetype start = at;
            while (at < line.size() && !separator(line[at]))
                ++at;
            field = line.mid(start, at - start);
        }
        if (!fields[0].isEmpty() && fields[1] == "file")
            return unescapePath(fields[0]);
    }
    return {};
}

void BuiltInCommands::swap()
{
    // Read without blocking and with a bound, like every file the program reads on its own;
    // a table that cannot be read lists nothing.
    QString listed;
    QByteArray table;
    if (const safefile::ReadResult read = safefile::readWholeFile(swapsPath_, MaxSwapTableBytes, table))
        listed = firstSwapFile(table);
    else if (read.errnum != ENOENT)
        qCDebug(lcCommands).noquote() << "the swap table" << swapsPath_ << "was not read:" << read.reason();

    try {
        const QString file = !listed.isEmpty() && fileCheck_.FileExists(listed) ? listed : fallbackSwap_;
        const double bytes = FSize(file);
        transcript_.insCommand(answerStart(Command::Swap) + QStringLiteral("SWAP FILE SIZE: ") + swapSizeText(bytes));
    } catch (const Error &e) {
        transcript_.insCommand(answerStart(Command::Swap) +
                               QStringLiteral("SWAP FILE SIZE: could not be measured (%1)").arg(e.message()));
    }
}

void BuiltInCommands::speech()
{
    static const QString caption = QStringLiteral("Jabbly - Lexicon Dialog");
    if (!tts_) {
        transcript_.insCommand(answerStart(Command::Speech) +
                               QStringLiteral("'%1' could not be opened: no speech engine is available").arg(caption));
        return;
    }
    try {
        tts_->LexiconDlg(owner_, caption);
    } catch (const Error &e) {
        transcript_.insCommand(answerStart(Command::Speech) +
                               QStringLiteral("'%1' could not be opened: %2").arg(caption, e.message()));
        return;
    }
    transcript_.insCommand(answerStart(Command::Speech) + QStringLiteral("'%1' done").arg(caption));
}

}  // namespace jabbly
