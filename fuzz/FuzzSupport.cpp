// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzSupport.h"

#include "components/ComponentLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace jabbly::fuzz {

void fail(const char *file, int line, const char *condition, const QString &detail)
{
    std::fprintf(stderr, "\n%s:%d: invariant broken: %s\n  %s\n", file, line, condition, detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

namespace {

ComponentLibrary &load(const char *name, const char *factory)
{
    try {
        return *new ComponentLibrary(QStringLiteral(JABBLY_FUZZ_BIN_DIR), QString::fromLatin1(name), factory);
    } catch (const Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        std::abort();
    }
}

}  // namespace

// The libraries stay loaded until the process ends: a fuzz target may still be running
// code from them while static objects are torn down.
Rowkit rowkitComponent()
{
    static ComponentLibrary &library = load("Rowkit", RowkitFactory);
    return Rowkit(library.instance());
}

Sayline saylineComponent()
{
    static ComponentLibrary &library = load("Sayline", SaylineFactory);
    return Sayline(library.instance());
}

namespace {

// Saving a list syncs the file and its folder: in memory (/dev/shm) that costs nothing,
// on a disk it would slow every input down.
QString scratchTemplate()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString folder = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("jabbly-fuzz-XXXXXX"));
}

}  // namespace

QString scratchPath(const QString &name)
{
    static QTemporaryDir dir(scratchTemplate());
    if (!dir.isValid()) {
        std::fprintf(stderr, "no scratch folder: %s\n", qPrintable(dir.errorString()));
        std::abort();
    }
    return dir.filePath(name);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(f.errorString()));
        std::abort();
    }
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s: %s\n", qPrintable(path), qPrintable(f.errorString()));
        std::abort();
    }
    return f.readAll();
}

QString show(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != u'"' && u != u'\\')
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
    }
    return out + u'"';
}

QString show(const QStringList &texts)
{
    QStringList shown;
    for (const QString &t : texts)
        shown += show(t);
    return u'[' + shown.join(QStringLiteral(", ")) + u']';
}

uint8_t InputReader::byte() { return at_ < size_ ? data_[at_++] : 0; }

QByteArray InputReader::rest()
{
    const QByteArray bytes(reinterpret_cast<const char *>(data_ + at_), static_cast<qsizetype>(size_ - at_));
    at_ = size_;
    return bytes;
}

QStringList splitBounded(const QString &text, QChar separator, qsizetype maxParts, qsizetype maxLength)
{
    QStringList parts = text.split(separator);
    if (parts.size() > maxParts)
        parts.resize(maxParts);
    for (QString &part : parts) {
        // Never between the halves of a surrogate pair: the parts stay valid UTF-16.
        if (part.size() > maxLength && maxLength > 0 && part.at(maxLength - 1).isHighSurrogate())
            part.truncate(maxLength - 1);
        else
            part.truncate(maxLength);
    }
    return parts;
}

}  // namespace jabbly::fuzz
