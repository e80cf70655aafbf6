// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FsListings.h"

#include <algorithm>

#include "FileAccess.h"
#include "FileErrors.h"

#include "jabbly/itemlist.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace rowkit {

using jabbly::ItemList;
using jabbly::Variant;
using jabbly::safefile::fileError;
namespace args = jabbly::args;
namespace fs = std::filesystem;

namespace {

enum class Kind { Files, Folders };

// The folder's full path, tidied ("." and doubled separators gone, no trailing separator;
// "/" stays "/"). ".." is resolved on the disk rather than by dropping names, since a name
// before it may be a link that leads elsewhere.
std::string folderPath(const QString &spec)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(fs::path(QFile::encodeName(spec).toStdString()), ec);
    if (ec)
        throw fileError(ec.value(), spec);
    const bool climbs =
        std::any_of(absolute.begin(), absolute.end(), [](const fs::path &part) { return part == ".."; });
    absolute = climbs ? fs::weakly_canonical(absolute, ec) : absolute.lexically_normal();
    if (ec)
        throw fileError(ec.value(), spec, true);
    std::string path = absolute.native();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

void addEntries(std::span<Variant> a, Kind kind)
{
    ItemList &list = args::list(a, 0);
    const QString &spec = args::text(a, 1);
    if (spec.isEmpty())
        throw fileError(ENOENT, spec, true);

    const std::string folder = folderPath(spec);
    const std::string prefix = folder == "/" ? folder : folder + '/';
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    // A missing folder, or a path that names a file, is "path not found".
    if (ec)
        throw fileError(ec.value(), spec, true);

    QStringList found;
    while (it != fs::directory_iterator()) {
        // A link is listed as what it points to; a dangling one counts as a file.
        std::error_code statEc;
        const bool isFolder = it->is_directory(statEc);
        if (isFolder == (kind == Kind::Folders))
            found.append(QFile::decodeName(QByteArray::fromStdString(prefix + it->path().filename().native())));
        if (it.increment(ec); ec)
            break;
    }
    // Entries found before a failed read stay in the list, as if added one by one.
    list.AddItems(found);
    if (ec)
        throw fileError(ec.value(), spec);
}

// Undoes the octal escapes of the mount table (\040 for a space, \011, \012, \134).
QByteArray unescapeMountPath(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const char d0 = field[i + 1], d1 = field[i + 2], d2 = field[i + 3];
            if (d0 >= '0' && d0 <= '3' && d1 >= '0' && d1 <= '7' && d2 >= '0' && d2 <= '7') {
                out += static_cast<char>((d0 - '0') * 64 + (d1 - '0') * 8 + (d2 - '0'));
                i += 3;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QByteArray readMountTable()
{
    try {
        return readWholeFile(QStringLiteral("/proc/self/mounts"));
    } catch (const jabbly::Error &) {
    }
    try {
        return readWholeFile(QStringLiteral("/proc/mounts"));
    } catch (const jabbly::Error &e) {
        // Without a mount table there is nothing to list drives from.
        throw jabbly::Error(
            jabbly::err::CannotCreateObject,
            QStringLiteral("Cannot create object: the drive list is not available: %1").arg(e.message()));
    }
}

}  // namespace

Variant listFiles(std::span<Variant> a)
{
    addEntries(a, Kind::Files);
    return {};
}

Variant listFolders(std::span<Variant> a)
{
    addEntries(a, Kind::Folders);
    return {};
}

Variant listDrives(std::span<Variant> a)
{
    ItemList &list = args::list(a, 0);
    QStringList drives;
    const QByteArray table = readMountTable();
    for (const QByteArray &line : table.split('\n')) {
        // device, mount point, type, options, dump, pass
        const qsizetype first = line.indexOf(' ');
        if (first < 0)
            continue;
        qsizetype end = line.indexOf(' ', first + 1);
        if (end < 0)
            end = line.size();
        if (end > first + 1)
            drives.append(QFile::decodeName(unescapeMountPath(line.mid(first + 1, end - first - 1))));
    }
    list.AddItems(drives);
    return {};
}

}  // namespace rowkit
