// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TranscriptExport.h"

#include "RtfWriter.h"
#include "jabbly/error.h"

#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcExport, "jabbly.export")

namespace jabbly {

namespace {

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return fd_; }
    // Closes now and tells whether close itself failed (a delayed write error shows here).
    bool close()
    {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }

private:
    int fd_;
};

Error fileError(int errnum, const QString &path)
{
    int number = err::PathFileAccess;
    if (errnum == ENOENT || errnum == ENOTDIR)
        number = err::PathNotFound;
    else if (errnum == ENOSPC || errnum == EDQUOT || errnum == EFBIG)
        number = err::DiskFull;
    return Error(number, QStringLiteral("Cannot write '%1': %2.")
                             .arg(path, QString::fromStdString(std::generic_category().message(errnum))));
}

Error accessError(const QString &path, const char *why)
{
    return Error(err::PathFileAccess, QStringLiteral("Cannot write '%1': %2.").arg(path, QString::fromUtf8(why)));
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

// The file a path names: a symbolic link is followed, so that replacing keeps the link.
std::string targetOf(const std::string &path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;  // a dangling link becomes the file
}

// Every name of a hard-linked file must keep showing the one file, so it is written in
// place; the space is reserved first, so that a full disk shows before a byte changes.
void writeInPlace(const std::string &target, const QByteArray &bytes, const QString &path)
{
    Descriptor file(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (file.get() < 0)
        throw fileError(errno, path);
    if (::fallocate(file.get(), FALLOC_FL_KEEP_SIZE, 0, off_t(bytes.size())) != 0 && errno != EOPNOTSUPP &&
        errno != ENOSYS)
        throw fileError(errno, path);
    if (!writeAll(file.get(), bytes) || ::ftruncate(file.get(), off_t(bytes.size())) != 0 || ::fsync(file.get()) != 0 ||
        !file.close())
        throw fileError(errno, path);
}

}  // namespace

void replaceFile(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        throw accessError(path, "the file has no name");
    const std::string target = targetOf(QFile::encodeName(path).toStdString());

    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        throw fileError(errno, path);
    if (exists) {
        if (S_ISDIR(old.st_mode))
            throw accessError(path, "it is a folder");
        // Renaming over a device or a pipe would replace it rather than write to it.
        if (!S_ISREG(old.st_mode))
            throw accessError(path, "it is not a plain file");
        if (!(old.st_mode & S_IWUSR) || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            throw accessError(path, "the file is read-only");
        if (old.st_nlink > 1) {
            writeInPlace(target, bytes, path);
            return;
        }
    }

    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);

    // The new file: its name is short whatever the target's, so that a long name still
    // leaves room for it.
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + "/.jabbly-export-" + std::to_string(QRandomGenerator::global()->generate()) + ".tmp";
        // 0666: the umask decides, as for any new file.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        throw fileError(errno, path);
    Descriptor file(fd);
    try {
        if (exists) {
            if (::fchmod(fd, old.st_mode & 07777) != 0)
                throw fileError(errno, path);
            // Only a privileged process may hand the file to its owner; otherwise it is ours.
            if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM)
                throw fileError(errno, path);
        }
        if (!writeAll(fd, bytes) || ::fsync(fd) != 0 || !file.close())
            throw fileError(errno, path);
        if (::rename(temporary.c_str(), target.c_str()) != 0)
            throw fileError(errno, path);
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }

    // Makes the rename itself durable. The new content is in place already, so a folder
    // that cannot be synced is no failure.
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0 || ::fsync(dir.get()) != 0)
        qCInfo(lcExport).noquote() << "the folder of" << path << "could not be synced:" << std::strerror(errno);
}

void exportTranscript(const QTextDocument &document, const QString &path) { replaceFile(path, writeRtf(document)); }

QString exportErrorTitle() { return QStringLiteral("Export Error"); }

QString exportErrorText()
{
    return QStringLiteral(
        "Cannot export the file.  If you are trying to overwrite a file, make sure that its read-only attribute is "
        "turned off.  Also make sure that no other program is currently using the file.");
}

}  // namespace jabbly
