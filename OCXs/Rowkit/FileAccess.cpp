#include "FileAccess.h"

#include "FileErrors.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rowkit {

namespace {

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return fd_; }
    // Closes now and reports close's own failure (a delayed write error shows up here).
    int close()
    {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

private:
    int fd_;
};

// The new file of a replacement: removed when it goes out of scope unless it has been
// renamed into place.
class TemporaryFile {
public:
    TemporaryFile(const std::string &folder, const std::string &name)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = folder + "/." + name + "." + std::to_string(QRandomGenerator::global()->generate()) + ".tmp";
            // 0666 so that the process umask decides, as for any newly created file.
            const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                fd_ = std::make_unique<Descriptor>(fd);
                return;
            }
            if (errno != EEXIST)
                break;
        }
        error_ = errno;
        path_.clear();
    }
    ~TemporaryFile()
    {
        fd_.reset();
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    bool isOpen() const { return fd_ != nullptr; }
    int error() const { return error_; }
    int fd() const { return fd_->get(); }
    const std::string &path() const { return path_; }
    int close() { return fd_->close(); }
    void keep() { path_.clear(); }

private:
    std::string path_;
    std::unique_ptr<Descriptor> fd_;
    int error_ = 0;
};

std::string nativePath(const QString &path) { return QFile::encodeName(path).toStdString(); }

// A symbolic link is followed to its file, so that replacing keeps the link.
std::string resolveLink(const std::string &path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
        return resolved;
    return path;  // a dangling link is replaced by the file
}

bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

}  // namespace

QByteArray readWholeFile(const QString &path)
{
    if (path.isEmpty())
        throw fileError(ENOENT, path);
    // Non-blocking, so that a pipe without a writer cannot hang the open; it is refused
    // below like any other file that is not a plain file.
    Descriptor file(::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        const int e = errno;
        throw fileError(e, path, e == ENOENT && !parentFolderExists(path));
    }
    struct stat st;
    if (::fstat(file.get(), &st) != 0)
        throw fileError(errno, path);
    if (S_ISDIR(st.st_mode))
        throw fileError(EISDIR, path);
    // A device could be read forever, a pipe could wait forever: list files are plain files.
    if (!S_ISREG(st.st_mode))
        throw notAPlainFile(path);

    QByteArray bytes;
    // The size is a hint only: files under /proc say 0, and a file may grow meanwhile.
    qsizetype capacity = std::max<qsizetype>(st.st_size + 1, 4096);
    bytes.resize(capacity);
    qsizetype used = 0;
    for (;;) {
        if (used == capacity) {
            capacity *= 2;
            bytes.resize(capacity);
        }
        const ssize_t n = ::read(file.get(), bytes.data() + used, static_cast<size_t>(capacity - used));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw fileError(errno, path);
        }
        if (n == 0)
            break;
        used += n;
    }
    bytes.truncate(used);
    return bytes;
}

void replaceWholeFile(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        throw fileError(ENOENT, path, true);
    const std::string target = resolveLink(nativePath(path));

    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        throw fileError(errno, path);
    if (exists && S_ISDIR(old.st_mode))
        throw fileError(EISDIR, path);
    // Renaming over a device or a pipe would replace it rather than write to it.
    if (exists && !S_ISREG(old.st_mode))
        throw notAPlainFile(path);
    // A file that may not be written is not replaced either, although its folder would
    // allow the rename.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        throw fileError(errno, path);

    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "" : target.substr(0, slash));
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);

    TemporaryFile temporary(folder, name);
    if (!temporary.isOpen())
        throw fileError(temporary.error(), path, temporary.error() == ENOENT);
    if (exists) {
        if (::fchmod(temporary.fd(), old.st_mode & 07777) != 0)
            throw fileError(errno, path);
        // Only a privileged process can hand a file to its owner; otherwise it stays ours.
        if (::fchown(temporary.fd(), old.st_uid, old.st_gid) != 0 && errno != EPERM)
            throw fileError(errno, path);
    }
    if (!writeAll(temporary.fd(), bytes.constData(), bytes.size()))
        throw fileError(errno, path);
    if (::fsync(temporary.fd()) != 0)
        throw fileError(errno, path);
    if (temporary.close() != 0)
        throw fileError(errno, path);
    if (::rename(temporary.path().c_str(), target.c_str()) != 0)
        throw fileError(errno, path);
    temporary.keep();

    // Makes the rename itself durable; the new content is already in place, so a folder
    // that cannot be synced is no failure of the save.
    Descriptor dir(::open(folder.empty() ? "/" : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

}  // namespace rowkit
