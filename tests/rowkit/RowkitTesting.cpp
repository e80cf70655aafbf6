// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "RowkitTesting.h"

#include "TestFolder.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QProcess>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <langinfo.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rowkit_test {

jabbly::Dispatch &component()
{
    static jabbly::ComponentLibrary library(jabbly::testing::binFolder(), QStringLiteral("Rowkit"),
                                            jabbly::RowkitFactory);
    return library.instance();
}

std::unique_ptr<jabbly::ExportedDispatch> exportedInstance()
{
    component();  // loads the library
    QLibrary library(QDir(jabbly::testing::binFolder()).filePath(QStringLiteral("Rowkit")));
    auto create = reinterpret_cast<jabbly::CreateComponentFn>(library.resolve(jabbly::RowkitFactory));
    if (!create)
        throw std::runtime_error("no factory in the Rowkit library");
    return std::unique_ptr<jabbly::ExportedDispatch>(create());
}

QStringList itemsOf(const jabbly::ItemList &list)
{
    QStringList items;
    for (int i = 0; i < list.ListCount(); ++i)
        items << list.List(i);
    return items;
}

CtypeLocale::CtypeLocale(const char *name)
{
    previous_ = std::setlocale(LC_CTYPE, nullptr);
    ok_ = std::setlocale(LC_CTYPE, name) != nullptr;
}

CtypeLocale::~CtypeLocale() { std::setlocale(LC_CTYPE, previous_.c_str()); }

namespace {

bool isCp1252()
{
    const QByteArray codeset(::nl_langinfo(CODESET));
    return codeset.toUpper().replace('-', "").replace('_', "") == "CP1252";
}

}  // namespace

Windows1252Locale::Windows1252Locale()
{
    for (const char *name : {"en_US.CP1252", "C.CP1252", "en_US.cp1252"}) {
        locale_ = std::make_unique<CtypeLocale>(name);
        if (locale_->ok() && isCp1252())
            return;
        locale_.reset();
    }
    compiled_ = std::make_unique<QTemporaryDir>();
    QProcess localedef;
    localedef.start(QStringLiteral("localedef"), {"-i", "C", "-f", "CP1252", compiled_->filePath("C.CP1252")});
    if (!localedef.waitForFinished(60000) || localedef.exitStatus() != QProcess::NormalExit ||
        !QFileInfo::exists(compiled_->filePath("C.CP1252/LC_CTYPE"))) {
        why_ = QStringLiteral("no Windows-1252 locale is installed and localedef could not make one: ") +
               localedef.errorString() + QString::fromLocal8Bit(localedef.readAllStandardError());
        return;
    }
    hadLocpath_ = qEnvironmentVariableIsSet("LOCPATH");
    oldLocpath_ = qgetenv("LOCPATH");
    qputenv("LOCPATH", QFile::encodeName(compiled_->path()));
    locale_ = std::make_unique<CtypeLocale>("C.CP1252");
    if (!locale_->ok() || !isCp1252()) {
        locale_.reset();
        why_ = QStringLiteral("the compiled Windows-1252 locale does not load");
    }
}

Windows1252Locale::~Windows1252Locale()
{
    locale_.reset();
    if (compiled_) {
        if (hadLocpath_)
            qputenv("LOCPATH", oldLocpath_);
        else
            qunsetenv("LOCPATH");
    }
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    ::getrlimit(RLIMIT_FSIZE, &old_);
    // Without this the kernel ends the process instead of failing the write.
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit capped = old_;
    capped.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &capped);
}

FileSizeLimit::~FileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
}

namespace {

bool writeProcFile(const char *path, const std::string &text)
{
    QFile f(QString::fromLatin1(path));
    return f.open(QIODevice::WriteOnly) &&
           f.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
}

// An unprivileged process may still mount inside a user namespace of its own, where it
// is root; mapping that root to the real user keeps the files it makes its own.
bool enterOwnUserNamespace()
{
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return false;
    return writeProcFile("/proc/self/setgroups", "deny") &&
           writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
           writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
}

}  // namespace

QString inPrivateMountNamespace(const std::function<QString()> &body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return QStringLiteral("pipe failed");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        QString report;
        if (::unshare(CLONE_NEWNS) != 0 && !enterOwnUserNamespace())
            report = QStringLiteral("SKIP: no private mount namespace: ") + QString::fromUtf8(std::strerror(errno));
        else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            report = QStringLiteral("SKIP: mounts cannot be made private: ") + QString::fromUtf8(std::strerror(errno));
        else
            report = body();
        const QByteArray b = report.toUtf8();
        [[maybe_unused]] const ssize_t n = ::write(fds[1], b.constData(), static_cast<size_t>(b.size()));
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray out;
    char buf[512];
    ssize_t n;
    while ((n = ::read(fds[0], buf, sizeof buf)) > 0)
        out.append(buf, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("the child process died: ") + QString::fromUtf8(out);
    return QString::fromUtf8(out);
}

struct stat statOf(const QString &path)
{
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

int openDescriptorCount()
{
    int n = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

}  // namespace rowkit_test
