// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real desktop services, on real files and offscreen widgets.
#include "desktop/QtComboTool.h"
#include "desktop/DesktopDocumentLauncher.h"
#include "ErrorNumber.h"
#include "desktop/LocalFileCheck.h"
#include "desktop/LocalFileSystem.h"
#include "desktop/QSettingsStore.h"
#include "desktop/QtSaveDialog.h"
#include "WithoutRootRights.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <QTemporaryDir>
#include <QTimer>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace jabbly;
using jabbly::testing::errorNumber;

namespace {

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString file(const QString &name, qint64 size)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, 'x'));
        return path;
    }

    jabbly::testing::ReachableTempDir dir;
};

TEST_F(FilesTest, FileExistsOnlyForFiles)
{
    LocalFileCheck fileCheck;
    EXPECT_TRUE(fileCheck.FileExists(file("cpu.txt", 3)));
    EXPECT_TRUE(fileCheck.FileExists(file("with space é.txt", 0)));
    EXPECT_FALSE(fileCheck.FileExists(dir.filePath("words.txt")));
    EXPECT_FALSE(fileCheck.FileExists(dir.path()));
    EXPECT_FALSE(fileCheck.FileExists(""));
}

TEST_F(FilesTest, FileSizeAndItsFailures)
{
    LocalFileSystem fs;
    EXPECT_EQ(fs.FileSize(file("a.bin", 12345)), 12345);
    EXPECT_EQ(fs.FileSize(file("empty", 0)), 0);
    EXPECT_EQ(errorNumber([&] { fs.FileSize(dir.filePath("missing")); }), err::FileNotFound);
    EXPECT_EQ(errorNumber([&] { fs.FileSize(dir.filePath("no/such/folder/x")); }), err::PathNotFound);
    EXPECT_EQ(errorNumber([&] { fs.FileSize(dir.filePath("a.bin/x")); }), err::PathNotFound);
    EXPECT_EQ(errorNumber([&] { fs.FileSize(dir.path()); }), err::FileNotFound);
    EXPECT_EQ(errorNumber([&] { fs.FileSize(""); }), err::FileNotFound);
}

TEST_F(FilesTest, FileSizeInAFolderThatMayNotBeSearched)
{
    if (!dir.unreachable().isEmpty())
        GTEST_SKIP() << dir.unreachable().toStdString();
    const QString inside = dir.filePath("locked/f");
    const QString beside = file("beside", 2);
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    file("locked/f", 1);
    ASSERT_TRUE(QFile::setPermissions(dir.filePath("locked"), QFileDevice::WriteOwner));
    {
        jabbly::testing::WithoutRootRights nobody;
        ASSERT_TRUE(nobody.ok()) << nobody.why().toStdString();
        EXPECT_EQ(LocalFileSystem().FileSize(beside), 2);
        EXPECT_EQ(errorNumber([&] { LocalFileSystem().FileSize(inside); }), err::PermissionDenied);
    }
    QFile::setPermissions(dir.filePath("locked"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(DocumentLauncher, EmptyLinkIsAnInvalidArgument)
{
    DesktopDocumentLauncher launcher;
    EXPECT_EQ(errorNumber([&] { launcher.RunDoc(nullptr, ""); }), err::InvalidArgument);
    EXPECT_EQ(errorNumber([&] { launcher.RunDoc(nullptr, "   "); }), err::InvalidArgument);
}

// The desktop's own configuration, made up for the test: XDG folders of its own, holding a
// mail program only when asked to.
class PrivateXdgDesktop {
public:
    explicit PrivateXdgDesktop(bool withMailProgram)
    {
        const QDir root(dir_.path());
        root.mkpath(QStringLiteral("config"));
        root.mkpath(QStringLiteral("data/applications"));
        for (const char *name :
             {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CURRENT_DESKTOP",
              "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
            saved_.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        qputenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", root.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", root.filePath(QStringLiteral("data")).toLocal8Bit());
        for (const char *name :
             {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
            qunsetenv(name);
        if (withMailProgram) {
            write(
                root.filePath(QStringLiteral("data/applications/test-mail.desktop")),
                "[Desktop Entry]\nType=Application\nName=Test Mail\nExec=true %u\nMimeType=x-scheme-handler/mailto;\n");
            write(root.filePath(QStringLiteral("config/mimeapps.list")),
                  "[Default Applications]\nx-scheme-handler/mailto=test-mail.desktop\n");
        }
    }
    ~PrivateXdgDesktop()
    {
        for (const Saved &s : saved_) {
            if (s.set)
                qputenv(s.name, s.value);
            else
                qunsetenv(s.name);
        }
    }

private:
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    struct Saved {
        const char *name;
        QByteArray value;
        bool set;
    };
    QTemporaryDir dir_;
    QList<Saved> saved_;
};

TEST(DocumentLauncher, AMailLinkWithoutAMailProgramFailsBeforeAnythingIsStarted)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        << "xdg-mime is not installed (xdg-utils; scripts/install-deps.sh installs it)";
    const QString link = QStringLiteral("mailto:someone@example.com?subject=Jabbly Feedback");
    EXPECT_EQ(DesktopDocumentLauncher::handlerType(QUrl(link)), QStringLiteral("x-scheme-handler/mailto"));
    {
        PrivateXdgDesktop desktop(false);
        EXPECT_FALSE(desktopHasDefaultApplication(QStringLiteral("x-scheme-handler/mailto")));
        QStringList opened;
        DesktopDocumentLauncher launcher({desktopHasDefaultApplication, [&](const QUrl &url) {
                                              opened.append(url.toString());
                                              return true;  // as QDesktopServices says once xdg-open runs
                                          }});
        EXPECT_EQ(errorNumber([&] { launcher.RunDoc(nullptr, link); }), err::CannotCreateObject);
        EXPECT_TRUE(opened.isEmpty());
        // The real launcher too: it asks before it starts xdg-open.
        EXPECT_EQ(errorNumber([&] { DesktopDocumentLauncher().RunDoc(nullptr, link); }), err::CannotCreateObject);
    }
    {
        PrivateXdgDesktop desktop(true);
        EXPECT_TRUE(desktopHasDefaultApplication(QStringLiteral("x-scheme-handler/mailto")));
        QStringList opened;
        bool starts = true;
        DesktopDocumentLauncher launcher({desktopHasDefaultApplication, [&](const QUrl &url) {
                                              opened.append(url.toString());
                                              return starts;
                                          }});
        EXPECT_EQ(errorNumber([&] { launcher.RunDoc(nullptr, link); }), 0);
        EXPECT_EQ(opened, QStringList{QUrl(link).toString()});
        starts = false;
        EXPECT_EQ(errorNumber([&] { launcher.RunDoc(nullptr, link); }), err::CannotCreateObject);
    }
}

TEST(ComboTool, DropDownIsAtMostTheGivenHeight)
{
    QWidget window;
    QComboBox box(&window);
    for (int speed = 50; speed <= 250; speed += 2)
        box.addItem(QString::number(speed));
    window.show();

    QtComboTool().SetDropHeight(&window, &box, 500);
    const int row = box.view()->sizeHintForRow(0);
    ASSERT_GT(row, 0);
    EXPECT_EQ(box.maxVisibleItems(), 500 / row);
    EXPECT_LT(box.maxVisibleItems(), box.count());

    box.showPopup();
    QWidget *popup = box.view()->window();
    EXPECT_TRUE(popup->isVisible());
    EXPECT_LE(popup->height(), 500);
    EXPECT_GT(popup->height(), 500 / 2);
    box.hidePopup();

    EXPECT_EQ(errorNumber([&] { QtComboTool().SetDropHeight(&window, &box, 0); }), err::InvalidArgument);
    EXPECT_EQ(errorNumber([&] { QtComboTool().SetDropHeight(&window, nullptr, 500); }), err::InvalidArgument);
}

// Answers the next modal file dialog: `path` to accept it with, or empty to cancel.
void answerDialog(const QString &path, QString *title, QStringList *filters, QString *suffix)
{
    QTimer::singleShot(0, [=] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        *title = dialog->windowTitle();
        *filters = dialog->nameFilters();
        *suffix = dialog->defaultSuffix();
        if (path.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept();
        }
    });
}

TEST(SaveDialog, ExportDialogReturnsThePathAsChosen)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QtSaveDialog dialog;
    QString title, suffix;
    QStringList filters;

    const QString chosen = dir.filePath("transcript");
    answerDialog(chosen, &title, &filters, &suffix);
    EXPECT_EQ(dialog.Export(nullptr), chosen);
    EXPECT_EQ(title, "Export");
    EXPECT_EQ(filters, (QStringList{"Rich Text Format (*.rtf)", "All files (*)"}));
    EXPECT_TRUE(suffix.isEmpty());

    answerDialog("", &title, &filters, &suffix);
    EXPECT_EQ(dialog.Export(nullptr), "");
}

}  // namespace

TEST(SettingsStore, KeepsTheSettingsWhereQSettingsWouldAndLeavesAPipeOrADeviceAlone)
{
    // The same file QSettings uses for the organisation and application.
    EXPECT_EQ(QSettingsStore::userFile(),
              QSettings(QStringLiteral("Orvel Tamsin"), QStringLiteral("Jabbly")).fileName());

    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.conf"));
    {
        QSettingsStore store(plain);
        EXPECT_TRUE(store.persistent());
        store.SaveSetting(QStringLiteral("Jabbly"), QStringLiteral("Speak"), QStringLiteral("1"));
    }
    EXPECT_EQ(QSettingsStore(plain).GetSetting(QStringLiteral("Jabbly"), QStringLiteral("Speak")), "1");

    // A pipe would hold QSettings' open for ever, /dev/zero be read for ever (a hang ends
    // at the test's time limit). The run still keeps what it is told, in memory.
    const QString fifo = dir.filePath(QStringLiteral("fifo.conf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir.filePath(QStringLiteral("zero.conf"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    for (const QString &file : {fifo, zero}) {
        QSettingsStore store(file);
        EXPECT_FALSE(store.persistent()) << file.toStdString();
        EXPECT_EQ(store.GetSetting(QStringLiteral("Jabbly"), QStringLiteral("Speak")), "");
        store.SaveSetting(QStringLiteral("Jabbly"), QStringLiteral("Speak"), QStringLiteral("1"));
        EXPECT_EQ(store.GetSetting(QStringLiteral("Jabbly"), QStringLiteral("Speak")), "1");
    }
    EXPECT_EQ(QFileInfo(fifo).isFile(), false);  // still the pipe: nothing was written over it
}
