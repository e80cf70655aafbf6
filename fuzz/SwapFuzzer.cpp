// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// "[swap]": the reader of the kernel's table of swap areas (firstSwapFile) and the size's
// general number (generalNumber).
//
// Input: one byte of mode, eight bytes of a number, then the rest. Mode odd: the rest is a
// table as /proc/swaps might hold it. Mode even: the rest is swap areas, 0x1E between
// them: the first byte of each says whether it is a file or a partition, the others are
// its path; the table is written as the kernel writes it (blank, tab, line feed and
// backslash in a path as \ooo) and read back.
//
// Invariants: reading never fails; a written table gives the path of its first file; the
// number is written in full with ASCII digits and at most one decimal separator, and reads
// back as the number rounded to 15 significant digits.

#include "conversation/Commands.h"
#include "FuzzSupport.h"

#include <QFile>

#include <charconv>
#include <cmath>
#include <cstring>

using namespace jabbly;
using namespace jabbly::fuzz;

namespace {

QByteArray escapedPath(const QByteArray &path)
{
    QByteArray out;
    for (const char c : path) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\\')
            out += '\\' + QByteArray::number(static_cast<unsigned char>(c), 8).rightJustified(3, '0');
        else
            out += c;
    }
    return out;
}

void checkNumber(double value, const QString &decimalPoint)
{
    if (!std::isfinite(value))
        return;
    const QString text = BuiltInCommands::generalNumber(value, decimalPoint);
    QString plain = text;
    const qsizetype point = text.indexOf(decimalPoint);
    if (point >= 0)
        plain.replace(point, decimalPoint.size(), u'.');
    qsizetype digits = 0;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const QChar c = plain[i];
        const bool ok = (c >= u'0' && c <= u'9') || (c == u'.' && i == point) || (c == u'-' && i == 0);
        FUZZ_CHECK(ok, QStringLiteral("%1 written as %2").arg(value, 0, 'g', 17).arg(show(text)));
        digits += c.isDigit();
    }
    FUZZ_CHECK(!plain.endsWith(u'.') && !(point >= 0 && plain.endsWith(u'0')),
               QStringLiteral("%1 written as %2: trailing zeros or separator").arg(value, 0, 'g', 17).arg(show(text)));
    // Read as long double: near the largest double, the number rounded to 15 digits is
    // larger than any double.
    const QByteArray written = plain.toLatin1();
    const QByteArray expected = QByteArray::number(value, 'g', 15);
    long double back = 0;
    long double rounded = 0;
    const auto [writtenEnd, writtenError] = std::from_chars(written.begin(), written.end(), back);
    std::from_chars(expected.begin(), expected.end(), rounded);
    FUZZ_CHECK(writtenError == std::errc() && writtenEnd == written.end() && back == rounded,
               QStringLiteral("%1 written as %2, which reads as %3")
                   .arg(value, 0, 'g', 17)
                   .arg(show(text))
                   .arg(static_cast<double>(back), 0, 'g', 17));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    InputReader in(data, size);
    const uint8_t mode = in.byte();
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits = bits << 8 | in.byte();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    const QByteArray rest = in.rest();

    checkNumber(value, QStringLiteral("."));
    checkNumber(value, QStringLiteral("\u066b"));
    checkNumber(static_cast<double>(bits >> 11) / 1024 / 1024, QStringLiteral(","));

    if (mode & 1) {
        (void)BuiltInCommands::firstSwapFile(rest);
        return 0;
    }

    QByteArray table = "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n";
    QString firstFile;
    for (const QByteArray &area : rest.split('\x1e')) {
        QByteArray path = area.mid(1);
        path.replace('\0', "");
        if (path.isEmpty())
            continue;
        const bool isFile = area.isEmpty() || !(area[0] & 1);
        table += escapedPath(path) + (isFile ? "  file\t\t" : "  partition\t") + "1024\t\t0\t\t-2\n";
        if (isFile && firstFile.isNull())
            firstFile = QFile::decodeName(path);
    }
    const QString found = BuiltInCommands::firstSwapFile(table);
    FUZZ_CHECK(found == (firstFile.isNull() ? QString() : firstFile),
               QStringLiteral("the first swap file is %1, the reader found %2").arg(show(firstFile), show(found)));
    return 0;
}
