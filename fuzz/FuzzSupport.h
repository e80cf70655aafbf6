// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the fuzz targets share: the check that ends the run when an invariant breaks, the
// components loaded from the build's program folder as the program loads them, a private
// scratch folder, and a reader that takes a fuzz input apart.

#include "components/Components.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// Both drivers (libFuzzer and the standalone one) call this once per input.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace jabbly::fuzz {

// Prints what broke, with the values that show it, and aborts: the driver then keeps the
// input that did it.
[[noreturn]] void fail(const char *file, int line, const char *condition, const QString &detail);

#define FUZZ_CHECK(condition, detail)                                                                                  \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            ::jabbly::fuzz::fail(__FILE__, __LINE__, #condition, (detail));                                            \
    } while (false)

// The one instance of each component for the whole process.
Rowkit rowkitComponent();
Sayline saylineComponent();

// A folder of this process's own (mode 0700), removed at exit.
QString scratchPath(const QString &name);
// Writes `bytes` to the file; aborts when it cannot (that is no finding of the target).
void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// "[a, b, ...]" with every character outside printable ASCII escaped, for failure reports.
QString show(const QString &text);
QString show(const QStringList &texts);

// Takes a fuzz input apart from the front: a few bytes of choices, then the rest as text.
class InputReader {
public:
    InputReader(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    // The next byte, or 0 when the input is used up.
    uint8_t byte();
    QByteArray rest();

private:
    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};

// `text` split at `separator`: the first `maxParts` parts (the others are dropped), each
// cut to at most `maxLength` UTF-16 units.
QStringList splitBounded(const QString &text, QChar separator, qsizetype maxParts, qsizetype maxLength);

}  // namespace jabbly::fuzz
