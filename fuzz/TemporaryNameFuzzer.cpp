// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The names of the new files that replace a file (libs/safefile/TemporaryName.h), over
// odd and long target names and name limits.
//
// Input: two bytes of a name limit, four of a number, then the target's name (bytes; "/"
// and NUL are left out, as no file name holds them).
//
// Invariants: a name that leaves room is its own stem; otherwise the stem is a start of
// the name, never cut inside a UTF-8 character, then "~" and 16 hexadecimal digits, and
// the new file's name fits the limit; the new file's name is recognised as one of the
// target's, the target's own name is not; two names that differ have different stems;
// and in a real folder the new file can be made under its name.

#include "FuzzSupport.h"
#include "safefile/TemporaryName.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

using namespace jabbly::safefile;
using namespace jabbly::fuzz;

namespace {

QString shown(const std::string &bytes) { return show(QString::fromLatin1(QByteArray::fromStdString(bytes))); }

void checkName(const std::string &name, std::size_t nameMax, uint32_t number)
{
    const std::string stem = temporaryStemWithin(name, nameMax);
    const std::string made = temporaryName(stem, number);
    if (name.size() + NameAdded <= nameMax) {
        FUZZ_CHECK(stem == name, QStringLiteral("the stem of %1 is %2").arg(shown(name), shown(stem)));
    } else {
        FUZZ_CHECK(stem.size() >= HashPart && stem[stem.size() - HashPart] == '~' &&
                       stem.find_first_not_of("0123456789abcdef", stem.size() - HashPart + 1) == std::string::npos,
                   QStringLiteral("the shortened stem %1 has no hash").arg(shown(stem)));
        const std::string kept = stem.substr(0, stem.size() - HashPart);
        FUZZ_CHECK(name.compare(0, kept.size(), kept) == 0,
                   QStringLiteral("%1 does not start %2").arg(shown(kept), shown(name)));
        if (nameMax >= NameAdded + HashPart)
            FUZZ_CHECK(made.size() <= nameMax, QStringLiteral("%1 is longer than %2").arg(shown(made)).arg(nameMax));
        if (QByteArrayView(name.data(), static_cast<qsizetype>(name.size())).isValidUtf8())
            FUZZ_CHECK(QByteArrayView(kept.data(), static_cast<qsizetype>(kept.size())).isValidUtf8(),
                       QStringLiteral("%1 was cut inside a character").arg(shown(kept)));
    }
    FUZZ_CHECK(made.find('/') == std::string::npos && made.find('\0') == std::string::npos,
               QStringLiteral("%1 is no file name").arg(shown(made)));
    FUZZ_CHECK(isTemporaryOf(made.c_str(), stem),
               QStringLiteral("%1 is not taken for a new file of %2").arg(shown(made), shown(stem)));
    FUZZ_CHECK(!isTemporaryOf(name.c_str(), stem),
               QStringLiteral("the target %1 is taken for its own new file").arg(shown(name)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    InputReader in(data, size);
    const std::size_t nameMax = (std::size_t{in.byte()} << 8 | in.byte()) % 1100;
    uint32_t number = 0;
    for (int i = 0; i < 4; ++i)
        number = number << 8 | in.byte();
    QByteArray bytes = in.rest();
    bytes.replace('/', "");
    bytes.replace('\0', "");
    if (bytes.isEmpty() || bytes == "." || bytes == "..")
        return 0;
    const std::string name = bytes.toStdString();

    checkName(name, nameMax, number);

    // A name that differs in its last byte has a stem of its own.
    std::string other = name;
    other.back() = other.back() == 'x' ? 'y' : 'x';
    FUZZ_CHECK(temporaryStemWithin(other, nameMax) != temporaryStemWithin(name, nameMax),
               QStringLiteral("%1 and %2 share the stem %3")
                   .arg(shown(name), shown(other), shown(temporaryStemWithin(name, nameMax))));

    // In a real folder, under the folder's own limit.
    const QString folder = scratchPath(QStringLiteral("names"));
    QDir().mkpath(folder);
    const std::string where = QFile::encodeName(folder).toStdString();
    const std::size_t limit = longestNameIn(where);
    checkName(name, limit, number);
    const std::string path = where + '/' + temporaryName(temporaryStemWithin(name, limit), number);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    FUZZ_CHECK(fd >= 0, QStringLiteral("the new file %1 could not be made: %2")
                            .arg(shown(path), QString::fromLocal8Bit(std::strerror(errno))));
    ::close(fd);
    ::unlink(path.c_str());
    return 0;
}
