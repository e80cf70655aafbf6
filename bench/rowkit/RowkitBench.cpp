// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Rowkit's list operations against plain C++ doing the same work, in one binary so that
// both run on the same machine at the same moment.
#include "BenchSupport.h"
#include "components/ComponentLibrary.h"
#include "components/Components.h"
#include "lists/ItemListModel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

constexpr int WordCount = jabbly::ItemList::MaxItems;

jabbly::Rowkit &rowkit()
{
    static jabbly::ComponentLibrary library(QStringLiteral(JABBLY_BENCH_BIN_DIR), QStringLiteral("Rowkit"),
                                            jabbly::RowkitFactory);
    static jabbly::Rowkit wrapper(library.instance());
    return wrapper;
}

QString randomWord(std::mt19937 &rng)
{
    std::uniform_int_distribution<int> length(3, 12), letter('a', 'z');
    QString w;
    for (int n = length(rng); n > 0; --n)
        w += QChar(letter(rng));
    return w;
}

// A word list as the program keeps it: random lower-case words, in the sorted list's
// order when saved; and the same words shuffled.
struct Words {
    QTemporaryDir dir;
    QStringList shuffled;
    QStringList sorted;
    QStringList absent;
    QString sortedFile, shuffledFile;

    Words()
    {
        std::mt19937 rng(20240607);
        for (int i = 0; i < WordCount; ++i)
            shuffled << randomWord(rng);
        sorted = shuffled;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const QString &a, const QString &b) { return jabbly::compareItems(a, b) < 0; });
        while (absent.size() < 1024) {
            const QString w = randomWord(rng);
            if (!std::binary_search(sorted.cbegin(), sorted.cend(), w,
                                    [](const QString &a, const QString &b) { return jabbly::compareItems(a, b) < 0; }))
                absent << w;
        }
        sortedFile = write("words.txt", sorted);
        shuffledFile = write("shuffled.txt", shuffled);
    }

    QString write(const QString &name, const QStringList &items) const
    {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly))
            std::abort();
        f.write((items.join("\r\n") + "\r\n").toUtf8());
        return f.fileName();
    }
};

Words &words()
{
    static Words w;
    return w;
}

void Listload(benchmark::State &state, bool sortedFile)
{
    const QString file = sortedFile ? words().sortedFile : words().shuffledFile;
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<jabbly::ItemListModel>(true);
        state.ResumeTiming();
        rowkit().Listload(*list, file);
        state.PauseTiming();
        if (list->ListCount() != WordCount)
            state.SkipWithError("not every word was loaded");
        list.reset();
        state.ResumeTiming();
    }
}

void BM_Listload_SortedFileIntoSortedList(benchmark::State &state) { Listload(state, true); }
void BM_Listload_ShuffledFileIntoSortedList(benchmark::State &state) { Listload(state, false); }

// The baseline: read the same file and split it into lines with plain C++.
void BM_Baseline_ReadAndSplitLines(benchmark::State &state)
{
    const std::string file = QFile::encodeName(words().sortedFile).toStdString();
    for (auto _ : state) {
        std::vector<std::string> lines;
        {
            FILE *f = std::fopen(file.c_str(), "rb");
            std::string data;
            char buf[65536];
            size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
                data.append(buf, n);
            std::fclose(f);
            size_t start = 0;
            while (start < data.size()) {
                size_t end = data.find('\r', start);
                if (end == std::string::npos)
                    end = data.size();
                lines.emplace_back(data, start, end - start);
                start = end + 1;
                if (start < data.size() && data[start] == '\n')
                    ++start;
            }
        }
        benchmark::DoNotOptimize(lines.data());
        state.PauseTiming();
        if (lines.size() != WordCount)
            state.SkipWithError("wrong line count");
        lines.clear();
        lines.shrink_to_fit();
        state.ResumeTiming();
    }
}

// The baseline for Listsave: the same durable save of the same list in plain C++ and POSIX
// calls: each item encoded to UTF-8 with CR LF after it, the bytes written to a new file in
// the same folder, that file synced, renamed over the old one, and the folder synced so that
// the rename survives a crash. Listsave does this and a little more (it checks the target,
// keeps its permissions, and selects item 0 before and after).
struct DurableSave {
    std::string folder, tmp, file;

    explicit DurableSave(const QString &dir)
        : folder(QFile::encodeName(dir).toStdString()), tmp(folder + "/baseline.tmp"), file(folder + "/baseline.txt")
    {
    }

    // ASCII items are copied byte by byte; others go through Qt's UTF-8 encoder.
    static std::string encode(const jabbly::ItemListModel &list)
    {
        std::string bytes;
        bytes.reserve(static_cast<size_t>(list.ListCount()) * 12);
        for (const QString &item : list.items()) {
            const char16_t *chars = reinterpret_cast<const char16_t *>(item.constData());
            const size_t length = static_cast<size_t>(item.size());
            if (std::all_of(chars, chars + length, [](char16_t c) { return c < 0x80; })) {
                const size_t at = bytes.size();
                bytes.resize(at + length);
                std::transform(chars, chars + length, bytes.begin() + static_cast<std::ptrdiff_t>(at),
                               [](char16_t c) { return static_cast<char>(c); });
            } else {
                const QByteArray utf8 = item.toUtf8();
                bytes.append(utf8.constData(), static_cast<size_t>(utf8.size()));
            }
            bytes.append("\r\n");
        }
        return bytes;
    }

    // Returns false when a step fails.
    bool write(const std::string &bytes, bool sync) const
    {
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        ok = (!sync || ::fsync(fd) == 0) && ok;
        ok = ::close(fd) == 0 && ok;
        ok = ok && std::rename(tmp.c_str(), file.c_str()) == 0;
        if (ok && sync) {
            const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ok = dir >= 0 && ::fsync(dir) == 0;
            if (dir >= 0)
                ::close(dir);
        }
        return ok;
    }
};

// The list as the program has it at shut-down: loaded from words.txt.
jabbly::ItemListModel &savedList()
{
    static jabbly::ItemListModel *list = [] {
        auto *loaded = new jabbly::ItemListModel(true);
        rowkit().Listload(*loaded, words().sortedFile);
        jabbly::bench::atExit([loaded] { delete loaded; });
        return loaded;
    }();
    return *list;
}

void BM_Listsave(benchmark::State &state)
{
    const QString file = words().dir.filePath("saved.txt");
    for (auto _ : state)
        rowkit().Listsave(savedList(), file);
}

void BM_Baseline_DurableSave(benchmark::State &state)
{
    const DurableSave save(words().dir.path());
    for (auto _ : state) {
        if (!save.write(DurableSave::encode(savedList()), true))
            state.SkipWithError("the baseline could not save");
    }
}

// Where the time of a save goes: the two parts of the baseline alone (each a lower bound).
void BM_LowerBound_EncodeOnly(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(DurableSave::encode(savedList()));
}

void BM_LowerBound_WriteAndRenameWithoutSync(benchmark::State &state)
{
    const DurableSave save(words().dir.path());
    const std::string bytes = DurableSave::encode(savedList());
    for (auto _ : state) {
        if (!save.write(bytes, false))
            state.SkipWithError("the baseline could not save");
    }
}

void FindExact(benchmark::State &state, bool sortedList, bool hit)
{
    jabbly::ItemListModel list(sortedList);
    list.AddItems(sortedList ? words().sorted : words().shuffled);
    // Hits spread over the whole list; misses are words the list does not hold.
    QStringList queries;
    for (int i = 0; i < 1024; ++i)
        queries << (hit ? words().shuffled.at((i * 7919) % WordCount) : words().absent.at(i));
    qsizetype i = 0;
    for (auto _ : state) {
        const int32_t found = rowkit().ListFindExact(list, queries.at(i));
        benchmark::DoNotOptimize(found);
        if ((found >= 0) != hit)
            state.SkipWithError("unexpected search result");
        i = (i + 1) & 1023;
    }
}

void BM_ListFindExact_SortedHit(benchmark::State &state) { FindExact(state, true, true); }
void BM_ListFindExact_SortedMiss(benchmark::State &state) { FindExact(state, true, false); }
void BM_ListFindExact_UnsortedHit(benchmark::State &state) { FindExact(state, false, true); }
void BM_ListFindExact_UnsortedMiss(benchmark::State &state) { FindExact(state, false, false); }

void BM_AddItem_OneByOneIntoSortedList(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<jabbly::ItemListModel>(true);
        state.ResumeTiming();
        for (const QString &w : words().shuffled)
            list->AddItem(w);
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_Listload_SortedFileIntoSortedList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Listload_ShuffledFileIntoSortedList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_ReadAndSplitLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Listsave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_DurableSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LowerBound_EncodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LowerBound_WriteAndRenameWithoutSync)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListFindExact_SortedHit);
BENCHMARK(BM_ListFindExact_SortedMiss);
BENCHMARK(BM_ListFindExact_UnsortedHit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListFindExact_UnsortedMiss)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddItem_OneByOneIntoSortedList)->Unit(benchmark::kMillisecond);
