// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A driver for the fuzz targets without libFuzzer, for the ordinary build and CTest: it
// runs every file of the seed corpus folders given, then a fixed number of inputs made from
// them by pseudo-random mutations. The mutations come from a fixed seed, so every run feeds
// the same inputs in the same order.
//
//   fuzz_<target> [--mutations=N] [--seed=S] [--max-len=N] [--dict=FILE] [--only=K] FOLDER...
//
// Inputs are numbered from 0 in the order they run (seed files first); --only=K runs
// input K alone. When a check fails or a sanitizer reports, the input is written to
// failure-<K>.bin in the current folder.

#include "FuzzSupport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <random>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define JABBLY_FUZZ_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define JABBLY_FUZZ_ASAN 1
#endif
#ifdef JABBLY_FUZZ_ASAN
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

struct Options {
    long mutations = 500;
    uint32_t seed = 20070101;
    qsizetype maxLength = 4096;
    long only = -1;
    QString dictionary;
    QStringList folders;
};

// The input being run, kept where the failure handlers can reach it.
QByteArray current;
long currentNumber = -1;

void saveCurrent()
{
    if (currentNumber < 0)
        return;
    char name[64];
    std::snprintf(name, sizeof name, "failure-%ld.bin", currentNumber);
    if (FILE *f = std::fopen(name, "wb")) {
        std::fwrite(current.constData(), 1, static_cast<size_t>(current.size()), f);
        std::fclose(f);
        std::fprintf(stderr, "input %ld failed; it is saved in %s\n", currentNumber, name);
    }
}

void onAbort(int)
{
    saveCurrent();
    std::signal(SIGABRT, SIG_DFL);
    std::abort();
}

// libFuzzer's dictionary format: one "quoted" entry a line, with \\, \" and \xNN escapes;
// other lines and names before the quote are ignored.
QList<QByteArray> readDictionary(const QString &path)
{
    QList<QByteArray> entries;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the dictionary %s\n", qPrintable(path));
        std::exit(2);
    }
    for (const QByteArray &raw : f.readAll().split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype open = line.indexOf('"');
        if (line.startsWith('#') || open < 0 || !line.endsWith('"') || line.size() - open < 2)
            continue;
        QByteArray entry;
        for (qsizetype i = open + 1; i < line.size() - 1; ++i) {
            if (line[i] == '\\' && i + 1 < line.size() - 1) {
                if (line[i + 1] == 'x' && i + 3 < line.size() - 1) {
                    entry += static_cast<char>(line.mid(i + 2, 2).toInt(nullptr, 16));
                    i += 3;
                } else {
                    entry += line[++i];
                }
            } else {
                entry += line[i];
            }
        }
        entries += entry;
    }
    return entries;
}

class Mutator {
public:
    Mutator(uint32_t seed, QList<QByteArray> seeds, QList<QByteArray> dictionary, qsizetype maxLength)
        : engine_(seed), seeds_(std::move(seeds)), dictionary_(std::move(dictionary)), maxLength_(maxLength)
    {
    }

    QByteArray next()
    {
        QByteArray input = seeds_.isEmpty() ? QByteArray() : seeds_[below(seeds_.size())];
        const int steps = 1 + static_cast<int>(below(4));
        for (int s = 0; s < steps; ++s)
            mutate(input);
        input.truncate(maxLength_);
        return input;
    }

private:
    // std::mt19937's output is the same everywhere; the distributions are not, so the
    // numbers are reduced here.
    qsizetype below(qsizetype n) { return n <= 0 ? 0 : static_cast<qsizetype>(engine_() % static_cast<uint32_t>(n)); }

    // Each draw is taken in a statement of its own: the order in which a call's arguments
    // are worked out differs between compilers.
    void mutate(QByteArray &in)
    {
        const qsizetype size = in.size();
        switch (below(8)) {
        case 0:  // flip a bit
            if (size > 0) {
                const qsizetype at = below(size);
                const int bit = static_cast<int>(below(8));
                in[at] = static_cast<char>(in[at] ^ (1 << bit));
            }
            break;
        case 1:  // any byte
            if (size > 0) {
                const qsizetype at = below(size);
                in[at] = static_cast<char>(below(256));
            }
            break;
        case 2: {  // a few bytes of one value
            const qsizetype at = below(size + 1);
            const qsizetype count = 1 + below(8);
            const char value = static_cast<char>(below(256));
            in.insert(at, QByteArray(count, value));
            break;
        }
        case 3:  // erase a run
            if (size > 0) {
                const qsizetype at = below(size);
                in.remove(at, 1 + below(size - at));
            }
            break;
        case 4:  // repeat a run in place
            if (size > 0) {
                const qsizetype at = below(size);
                const QByteArray run = in.mid(at, 1 + below(std::min<qsizetype>(size - at, 64)));
                for (qsizetype n = 1 + below(4); n > 0; --n)
                    in.insert(at, run);
            }
            break;
        case 5:  // a dictionary entry
        case 6:
            if (!dictionary_.isEmpty()) {
                const qsizetype at = below(size + 1);
                in.insert(at, dictionary_[below(dictionary_.size())]);
            }
            break;
        case 7:  // a piece of another seed
            if (!seeds_.isEmpty()) {
                const QByteArray &other = seeds_[below(seeds_.size())];
                const qsizetype from = below(other.size());
                const qsizetype length = below(other.size() - from + 1);
                const qsizetype at = below(size + 1);
                in.insert(at, other.mid(from, length));
            }
            break;
        }
    }

    std::mt19937 engine_;
    QList<QByteArray> seeds_;
    QList<QByteArray> dictionary_;
    qsizetype maxLength_;
};

Options parse(int argc, char **argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        bool ok = true;
        if (arg.startsWith(QLatin1String("--mutations=")))
            o.mutations = arg.mid(12).toLong(&ok);
        else if (arg.startsWith(QLatin1String("--seed=")))
            o.seed = arg.mid(7).toUInt(&ok);
        else if (arg.startsWith(QLatin1String("--max-len=")))
            o.maxLength = arg.mid(10).toLongLong(&ok);
        else if (arg.startsWith(QLatin1String("--only=")))
            o.only = arg.mid(7).toLong(&ok);
        else if (arg.startsWith(QLatin1String("--dict=")))
            o.dictionary = arg.mid(7);
        else if (arg.startsWith(QLatin1String("--")))
            ok = false;
        else
            o.folders += arg;
        if (!ok) {
            std::fprintf(stderr, "unknown or bad option: %s\n", argv[i]);
            std::exit(2);
        }
    }
    if (o.folders.isEmpty()) {
        std::fprintf(stderr, "usage: %s [--mutations=N] [--seed=S] [--max-len=N] [--dict=FILE] [--only=K] FOLDER...\n",
                     argv[0]);
        std::exit(2);
    }
    return o;
}

}  // namespace

int main(int argc, char **argv)
{
    const Options options = parse(argc, argv);

    QList<QByteArray> seeds;
    for (const QString &folder : options.folders) {
        const QDir dir(folder);
        if (!dir.exists()) {
            std::fprintf(stderr, "no such folder: %s\n", qPrintable(folder));
            return 2;
        }
        // Sorted by name, so the order does not depend on the file system.
        for (const QFileInfo &file : dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
            seeds += jabbly::fuzz::readFile(file.filePath());
    }
    if (seeds.isEmpty()) {
        std::fprintf(stderr, "the corpus folders hold no inputs\n");
        return 2;
    }
    const QList<QByteArray> dictionary =
        options.dictionary.isEmpty() ? QList<QByteArray>() : readDictionary(options.dictionary);

    std::signal(SIGABRT, onAbort);
#ifdef JABBLY_FUZZ_ASAN
    __sanitizer_set_death_callback(saveCurrent);
#endif

    Mutator mutator(options.seed, seeds, dictionary, options.maxLength);
    const long total = seeds.size() + options.mutations;
    long ran = 0;
    for (long k = 0; k < total; ++k) {
        // Every input is made, even those not run, so that --only=K meets the same input.
        const QByteArray input = k < seeds.size() ? seeds[k] : mutator.next();
        if (options.only >= 0 && k != options.only)
            continue;
        current = input;
        currentNumber = k;
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(current.constData()),
                               static_cast<size_t>(current.size()));
        ++ran;
    }
    currentNumber = -1;
    std::printf("%s: %ld inputs ran (%lld seed files, %ld mutations), no invariant broken\n",
                QFileInfo(QString::fromLocal8Bit(argv[0])).fileName().toLocal8Bit().constData(), ran,
                static_cast<long long>(seeds.size()), options.mutations);
    return 0;
}
