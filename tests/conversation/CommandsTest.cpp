// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The seven built-in commands and FSize, under a fixed clock and fixed locales.
#include "conversation/Commands.h"

#include "ErrorNumber.h"
#include "FakeFileServices.h"
#include "MockSpeechEngine.h"
#include "RecordingTranscript.h"
#include "jabbly/version.h"

#include <QTemporaryDir>
#include <QWidget>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace jabbly;
using namespace jabbly::testing;
using ::testing::_;
using ::testing::Eq;
using ::testing::Invoke;
using ::testing::Throw;

namespace {

const QLocale US(QLocale::English, QLocale::UnitedStates);
const QLocale UK(QLocale::English, QLocale::UnitedKingdom);
const QLocale German(QLocale::German, QLocale::Germany);

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        commands.setLocale(US);
        at(QDate(2026, 12, 6), QTime(21, 5, 3));
        ASSERT_TRUE(dir.isValid());
        swapsPath = dir.filePath("swaps");
        commands.setSwapTable(swapsPath);
    }

    void at(QDate date, QTime time)
    {
        const QDateTime now(date, time);
        commands.setClock([now] { return now; });
    }

    void writeSwaps(const QByteArray &table)
    {
        QFile f(swapsPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(table);
    }

    QStringList answers() const { return WW.texts(RecordingTranscript::Command); }

    // The only line written, which must be a command line.
    QString answer(Command command)
    {
        WW.writes.clear();
        commands.run(command);
        EXPECT_EQ(WW.writes.size(), 1);
        EXPECT_EQ(answers().size(), 1);
        return answers().value(0);
    }

    RecordingTranscript WW;
    FakeFileCheck fileCheck;
    FakeFileSystem fileSystem;
    BuiltInCommands commands{WW, fileCheck, fileSystem};
    QTemporaryDir dir;
    QString swapsPath;
};

TEST(CommandFor, WholeLowerCaseLinesOnly)
{
    EXPECT_EQ(commandFor("[time]"), Command::Time);
    EXPECT_EQ(commandFor("[date]"), Command::Date);
    EXPECT_EQ(commandFor("[swap]"), Command::Swap);
    EXPECT_EQ(commandFor("[version]"), Command::Version);
    EXPECT_EQ(commandFor("[exit]"), Command::Exit);
    EXPECT_EQ(commandFor("[speech]"), Command::Speech);
    EXPECT_EQ(commandFor("[commands]"), Command::Commands);
    for (const char *line : {"[TIME]", " [time]", "[time] ", "time", "[time", "[foo]", "[time][date]", "", "["})
        EXPECT_FALSE(commandFor(line).has_value()) << line;
}

TEST_F(CommandsTest, TimeOnTheTwelveHourClock)
{
    EXPECT_EQ(answer(Command::Time), "COMMAND: [TIME] - 09:05:03 PM");
    at(QDate(2026, 12, 6), QTime(0, 0, 0));
    EXPECT_EQ(answer(Command::Time), "COMMAND: [TIME] - 12:00:00 AM");
    at(QDate(2026, 12, 6), QTime(11, 59, 59));
    EXPECT_EQ(answer(Command::Time), "COMMAND: [TIME] - 11:59:59 AM");
    at(QDate(2026, 12, 6), QTime(12, 0, 7));
    EXPECT_EQ(answer(Command::Time), "COMMAND: [TIME] - 12:00:07 PM");
    at(QDate(2026, 12, 6), QTime(13, 1, 2));
    EXPECT_EQ(answer(Command::Time), "COMMAND: [TIME] - 01:01:02 PM");
}

TEST_F(CommandsTest, TimeUsesTheLocaleDesignators)
{
    QLocale designators = German;
    commands.setLocale(designators);
    ASSERT_FALSE(designators.pmText().isEmpty());
    EXPECT_EQ(answer(Command::Time), "COMMAND: [TIME] - 09:05:03 " + designators.pmText());
    at(QDate(2026, 12, 6), QTime(9, 5, 3));
    EXPECT_EQ(answer(Command::Time), "COMMAND: [TIME] - 09:05:03 " + designators.amText());
}

TEST_F(CommandsTest, DateWithTheLocaleNames)
{
    commands.setLocale(UK);
    EXPECT_EQ(answer(Command::Date), "COMMAND: [DATE] - Sunday 06 December 2026");
    commands.setLocale(German);
    EXPECT_EQ(answer(Command::Date), "COMMAND: [DATE] - Sonntag 06 Dezember 2026");
    at(QDate(2027, 3, 21), QTime(12, 0));
    EXPECT_EQ(answer(Command::Date), "COMMAND: [DATE] - Sonntag 21 März 2027");
}

TEST_F(CommandsTest, VersionAndCommandsLines)
{
    EXPECT_EQ(answer(Command::Version),
              "COMMAND: [VERSION] - Jabbly V2.3.10.  " + QString::fromUtf8(version::CompanyName));
    EXPECT_EQ(answer(Command::Commands),
              "COMMAND: [COMMANDS] - [COMMANDS] [DATE] [EXIT] [SPEECH] [SWAP] [TIME] [VERSION]");
}

TEST_F(CommandsTest, ExitClosesTheWindowAndWritesNothing)
{
    int closed = 0;
    commands.setCloseMainWindow([&] { ++closed; });
    commands.run(Command::Exit);
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(WW.writes.isEmpty());
}

TEST_F(CommandsTest, SwapMeasuresTheFirstListedSwapFile)
{
    writeSwaps("Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n"
               "/dev/sda2                               partition\t8388604\t\t0\t\t-2\n"
               "/var/swap\\040space                      file\t\t196096\t\t0\t\t-3\n"
               "/second.swp                             file\t\t1024\t\t0\t\t-4\n");
    fileCheck.files = {"/var/swap space"};
    fileSystem.sizes["/var/swap space"] = 200806400;
    EXPECT_EQ(answer(Command::Swap), "COMMAND: [SWAP] - SWAP FILE SIZE: 191.50390625MB");
    EXPECT_EQ(fileCheck.asked, QStringList{"/var/swap space"});
    EXPECT_EQ(fileSystem.measured, QStringList{"/var/swap space"});

    commands.setLocale(German);
    EXPECT_EQ(answer(Command::Swap), "COMMAND: [SWAP] - SWAP FILE SIZE: 191,50390625MB");
    fileSystem.sizes["/var/swap space"] = 192LL * 1024 * 1024;
    EXPECT_EQ(answer(Command::Swap), "COMMAND: [SWAP] - SWAP FILE SIZE: 192MB");
    // No thousands separator in the size.
    fileSystem.sizes["/var/swap space"] = 12345LL * 1024 * 1024 + 512 * 1024;
    EXPECT_EQ(answer(Command::Swap), "COMMAND: [SWAP] - SWAP FILE SIZE: 12345,5MB");
}

TEST_F(CommandsTest, SwapFallsBackToSwapfileWithoutAskingAgain)
{
    fileSystem.sizes["/swapfile"] = 1024 * 1024;

    // Listed but not there.
    writeSwaps("Filename Type Size Used Priority\n/gone.swp file 1024 0 -2\n");
    EXPECT_EQ(answer(Command::Swap), "COMMAND: [SWAP] - SWAP FILE SIZE: 1MB");
    EXPECT_EQ(fileCheck.asked, QStringList{"/gone.swp"});
    EXPECT_EQ(fileSystem.measured, QStringList{"/swapfile"});

    // Only partitions: nothing to ask about.
    fileCheck.asked.clear();
    writeSwaps("Filename Type Size Used Priority\n/dev/sda2 partition 8388604 0 -2\n");
    EXPECT_EQ(answer(Command::Swap), "COMMAND: [SWAP] - SWAP FILE SIZE: 1MB");
    EXPECT_TRUE(fileCheck.asked.isEmpty());

    // No table at all.
    commands.setSwapTable(dir.filePath("missing"), "/other.swp");
    fileSystem.sizes["/other.swp"] = 3 * 1024 * 1024 / 2;
    EXPECT_EQ(answer(Command::Swap), "COMMAND: [SWAP] - SWAP FILE SIZE: 1.5MB");
}

TEST_F(CommandsTest, SwapSizeIsAPlainNumberInEveryLocale)
{
    writeSwaps("Filename Type Size Used Priority\n/a.swp file 1 0 -1\n");
    fileCheck.files = {"/a.swp"};

    // Arabic writes its own digits and decimal separator: the separator is the locale's,
    // the digits are ASCII, as in every other number the program writes.
    fileSystem.sizes["/a.swp"] = 200806400;
    commands.setLocale(QLocale(QLocale::Arabic, QLocale::Egypt));
    EXPECT_EQ(answer(Command::Swap), QStringLiteral("COMMAND: [SWAP] - SWAP FILE SIZE: 191") +
                                         QLocale(QLocale::Arabic, QLocale::Egypt).decimalPoint() + "50390625MB");
    commands.setLocale(QLocale(QLocale::Persian, QLocale::Iran));
    fileSystem.sizes["/a.swp"] = 192LL * 1024 * 1024;
    EXPECT_EQ(answer(Command::Swap), "COMMAND: [SWAP] - SWAP FILE SIZE: 192MB");

    // Small and large sizes are written out in full, never in exponent form.
    commands.setLocale(US);
    fileSystem.sizes["/a.swp"] = 1;
    EXPECT_EQ(answer(Command::Swap), "COMMAND: [SWAP] - SWAP FILE SIZE: 0.00000095367431640625MB");
    fileSystem.sizes["/a.swp"] = 100;
    EXPECT_EQ(answer(Command::Swap), "COMMAND: [SWAP] - SWAP FILE SIZE: 0.000095367431640625MB");
    fileSystem.sizes["/a.swp"] = 0;
    EXPECT_EQ(answer(Command::Swap), "COMMAND: [SWAP] - SWAP FILE SIZE: 0MB");
    fileSystem.sizes["/a.swp"] = 0x7FFFFFFFFFFFFFFFLL;  // 15 significant digits
    EXPECT_EQ(answer(Command::Swap), "COMMAND: [SWAP] - SWAP FILE SIZE: 8796093022208MB");
    EXPECT_EQ(BuiltInCommands::generalNumber(123456789012345678.0, "."), "123456789012346000");
    EXPECT_EQ(BuiltInCommands::generalNumber(0.1 + 0.2, ","), "0,3");
}

TEST_F(CommandsTest, ASwapTableThatIsAPipeIsNotWaitedFor)
{
    // A pipe without a writer would hold a blocking open for ever (a hang ends at the
    // test's time limit); the table then lists nothing and the fallback is measured.
    QFile::remove(swapsPath);
    ASSERT_EQ(::mkfifo(QFile::encodeName(swapsPath).constData(), 0600), 0);
    fileSystem.sizes["/swapfile"] = 1024 * 1024;
    EXPECT_EQ(answer(Command::Swap), "COMMAND: [SWAP] - SWAP FILE SIZE: 1MB");
    EXPECT_TRUE(fileCheck.asked.isEmpty());
}

TEST_F(CommandsTest, SwapThatCannotBeMeasuredSaysSo)
{
    writeSwaps("Filename Type Size Used Priority\n");
    const QString line = answer(Command::Swap);
    EXPECT_TRUE(line.startsWith("COMMAND: [SWAP] - SWAP FILE SIZE: could not be measured (")) << line.toStdString();
    EXPECT_TRUE(line.contains("/swapfile")) << line.toStdString();

    fileSystem.errors["/swapfile"] = err::PermissionDenied;
    EXPECT_TRUE(answer(Command::Swap).contains("could not be measured"));

    writeSwaps("Filename Type Size Used Priority\n/a.swp file 1 0 -1\n");
    fileCheck.failure = Error(err::CannotCreateObject, "no file check");
    EXPECT_TRUE(answer(Command::Swap).contains("could not be measured (no file check)"));
}

TEST_F(CommandsTest, FSizeIsTheFileSystemsAnswer)
{
    fileSystem.sizes["/a"] = 5'000'000'000LL;
    EXPECT_EQ(commands.FSize("/a"), 5'000'000'000.0);
    EXPECT_EQ(errorNumber([&] { commands.FSize("/b"); }), err::FileNotFound);
    fileSystem.errors["/c"] = err::PathNotFound;
    EXPECT_EQ(errorNumber([&] { commands.FSize("/c"); }), err::PathNotFound);
}

TEST(FirstSwapFile, ReadsTheKernelTable)
{
    EXPECT_EQ(BuiltInCommands::firstSwapFile("Filename Type Size Used Priority\n/swap.img file 1 0 -2\n"), "/swap.img");
    EXPECT_EQ(BuiltInCommands::firstSwapFile("Filename Type Size Used Priority\n/dev/zram0 partition 1 0 100\n"), "");
    EXPECT_EQ(BuiltInCommands::firstSwapFile(""), "");
    // The heading is never taken for an entry, even one that reads like a file entry.
    EXPECT_EQ(BuiltInCommands::firstSwapFile("/x file 1 0 0\n"), "");
    EXPECT_EQ(BuiltInCommands::firstSwapFile("h\n/a\\134b\\011c file 1 0 0\n"), "/a\\b\tc");
    // The kernel escapes blanks, tabs, newlines and backslashes only: any other control
    // character (a carriage return, a form feed) is part of the name.
    EXPECT_EQ(BuiltInCommands::firstSwapFile("h\n/a\rb\fc\vd\\040e\tfile\t1\t0\t0\n"), "/a\rb\fc\vd e");
}

TEST_F(CommandsTest, SpeechOpensTheLexiconDialogThenAnswers)
{
    MockSpeechEngine tts;
    QWidget mainWindow;
    commands.setSpeechEngine(&tts, &mainWindow);
    EXPECT_CALL(tts, LexiconDlg(Eq(&mainWindow), Eq(QString("Jabbly - Lexicon Dialog")))).WillOnce(Invoke([&] {
        EXPECT_TRUE(WW.writes.isEmpty()) << "the answer comes after the dialog";
    }));
    EXPECT_EQ(answer(Command::Speech), "COMMAND: [SPEECH] - 'Jabbly - Lexicon Dialog' done");
}

TEST_F(CommandsTest, SpeechFailureIsReportedInItsLine)
{
    MockSpeechEngine tts;
    commands.setSpeechEngine(&tts, nullptr);
    EXPECT_CALL(tts, LexiconDlg(_, _)).WillOnce(Throw(Error(err::CannotCreateObject, "no audio device")));
    EXPECT_EQ(answer(Command::Speech),
              "COMMAND: [SPEECH] - 'Jabbly - Lexicon Dialog' could not be opened: no audio device");

    commands.setSpeechEngine(nullptr, nullptr);
    const QString line = answer(Command::Speech);
    EXPECT_TRUE(line.startsWith("COMMAND: [SPEECH] - 'Jabbly - Lexicon Dialog' could not be opened"))
        << line.toStdString();
}

}  // namespace
