// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The conversation engine's speed: whole turns with a full word list (32,767 known words,
// so that learning finds every word) and with 29,000 words and a third of the line new
// (sorted inserts into both lists), reply composition alone and transcript writes, each
// next to a baseline that does only the unavoidable part of the work.
#include "BenchSupport.h"
#include "RoomToGrow.h"
#include "components/Components.h"
#include "FindExactDispatch.h"
#include "lists/ItemListModel.h"
#include "conversation/RandomGenerator.h"
#include "conversation/ReplyComposer.h"
#include "ui/TextEditTranscript.h"
#include "conversation/Turn.h"

#include <QFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

using namespace jabbly;

namespace {

// Pronounceable made-up words, all different: "ba", "be", ..., "zuzu"...
QString wordFor(int n)
{
    static const char *const syllables[] = {"ba", "ke", "li", "mo", "nu", "ra", "se", "ti",
                                            "vo", "zu", "pa", "de", "fi", "go", "hu", "ja"};
    QString w;
    do {
        w.append(QLatin1String(syllables[n % 16]));
        n /= 16;
    } while (n > 0);
    return w;
}

QStringList templates()
{
    QStringList lines;
    QFile f(QStringLiteral(JABBLY_BENCH_BIN_DIR "/cpu.txt"));
    if (f.open(QIODevice::ReadOnly))
        lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    if (lines.isEmpty())
        lines = {QStringLiteral("£NAME£, a £WORD1£ and £WORDP2£ cost £NUMBER3£.")};
    return lines;
}

class NullInput : public InputBox {
public:
    void selectAll() override {}
};

class NullTranscript : public Transcript {
public:
    void insCommand(const QString &t) override { benchmark::DoNotOptimize(t.size()); }
    void insName(const QString &t) override { benchmark::DoNotOptimize(t.size()); }
    void insSayPerson(const QString &t) override { benchmark::DoNotOptimize(t.size()); }
    void insSayCPU(const QString &t) override { benchmark::DoNotOptimize(t.size()); }
};

class NoCommands : public CommandRunner {
public:
    void run(Command) override {}
};

// Everything a turn needs, with HidWord full.
struct World {
    World()
    {
        QStringList words;
        for (int i = 0; i < ItemList::MaxItems; ++i)
            words.append(wordFor(i));
        words.sort(Qt::CaseInsensitive);
        full = words;
        roomy = words.mid(0, RoomyCount);
        HidWord.AddItems(full);
        HidCPU.AddItems(templates());
        edit.resize(700, 400);
        edit.show();
    }

    // A pasted line of `count` words: every third one unknown, the rest known.
    QString line(int count) const
    {
        QStringList parts;
        for (int i = 0; i < count; ++i)
            parts.append(i % 3 == 2 ? newWord(i) : roomy.at((i * 7919) % RoomyCount));
        return parts.join(u' ');
    }

    // The unknown words of line(count).
    static QStringList newWords(int count)
    {
        QStringList words;
        for (int i = 2; i < count; i += 3)
            words.append(newWord(i));
        return words;
    }

    static QString newWord(int i) { return QStringLiteral("new%1").arg(i); }

    // HidWord as it was before a turn learned anything: `words`, with room to grow as a
    // session's list has, and lstAI empty.
    void resetLists(const QStringList &words)
    {
        HidWord.Clear();
        HidWord.AddItems(bench::withRoomToGrow(words));
        lstAI.Clear();
    }

    // Takes `words` out of HidWord again and empties lstAI: the next turn learns them anew in
    // the same list, as a session's turns do, rather than in a list built afresh for it, whose
    // new memory the turn would be the first to touch.
    void forget(const QStringList &words)
    {
        for (const QString &word : words) {
            const int32_t index = HidWord.FindStringExact(word);
            if (index >= 0)
                HidWord.RemoveItem(static_cast<int16_t>(index));
        }
        lstAI.Clear();
    }

    static constexpr int RoomyCount = 29000;
    QStringList full, roomy;
    ItemListModel HidWord{true}, HidCPU{false}, lstAI{true};
    testing::FindExactDispatch component;
    Rowkit rowkit{component};
    RandomGenerator random{12345};
    NullInput input;
    NoCommands commands;
    QTextEdit edit;
    TextEditTranscript WW{&edit};
    NullTranscript nullWW;
};

// One World for the whole program, gone before the application object is.
World &world()
{
    static World *w = [] {
        auto *made = new World;
        jabbly::bench::atExit([made] { delete made; });
        return made;
    }();
    return *w;
}

// Turns with the line of `words` words. When `learning`, HidWord starts every turn with
// 29,000 words and a third of the line is new; else HidWord is full and learns nothing.
void runTurns(benchmark::State &state, Transcript &WW, int words, bool learning)
{
    World &w = world();
    ConversationTurn turn(
        WW, w.input, w.HidWord, w.HidCPU, [&]() -> ItemList & { return w.lstAI; }, w.rowkit, w.random, w.commands);
    const QString typed = w.line(words);
    const int fresh = words / 3;
    const QStringList learned = World::newWords(words);
    w.resetLists(learning ? w.roomy : w.full);
    int sinceClear = 0;
    for (auto _ : state) {
        QString name = QStringLiteral("Human"), say = typed;
        turn.Process(name, say);
        state.PauseTiming();
        const int expected = learning ? World::RoomyCount + fresh : ItemList::MaxItems;
        if (w.HidWord.ListCount() != expected || w.lstAI.ListCount() != (learning ? fresh : 0))
            state.SkipWithError("the turn did not learn what it should have");
        if (learning)
            w.forget(learned);
        if (++sinceClear == 200) {
            w.WW.clear();
            sinceClear = 0;
        }
        state.ResumeTiming();
    }
    w.WW.clear();
    w.resetLists(w.full);
}

void BM_Turn20Words(benchmark::State &state) { runTurns(state, world().WW, 20, false); }
void BM_Turn20Words_NoTranscript(benchmark::State &state) { runTurns(state, world().nullWW, 20, false); }
void BM_Turn10000Words(benchmark::State &state) { runTurns(state, world().WW, 10000, false); }
void BM_Turn10000Words_NoTranscript(benchmark::State &state) { runTurns(state, world().nullWW, 10000, false); }
void BM_Turn20Words_ThirdNew(benchmark::State &state) { runTurns(state, world().WW, 20, true); }
void BM_Turn20Words_ThirdNew_NoTranscript(benchmark::State &state) { runTurns(state, world().nullWW, 20, true); }
void BM_Turn10000Words_ThirdNew(benchmark::State &state) { runTurns(state, world().WW, 10000, true); }
void BM_Turn10000Words_ThirdNew_NoTranscript(benchmark::State &state) { runTurns(state, world().nullWW, 10000, true); }

bool itemLess(const QString &a, const QString &b) { return compareItems(a, b) < 0; }

// The plain sorted insert the learning baselines do: `fresh`, already sorted, put in its
// places in the sorted `known` in one pass from the end (a binary search for each word,
// the items between moved once).
void insertSorted(std::vector<QString> &known, const std::vector<QString> &fresh)
{
    const auto count = static_cast<std::ptrdiff_t>(known.size());
    known.resize(known.size() + fresh.size());
    auto end = known.begin() + count;
    auto out = known.end();
    for (auto word = fresh.rbegin(); word != fresh.rend(); ++word) {
        const auto place = std::upper_bound(known.begin(), end, *word, itemLess);
        out = std::move_backward(place, end, out);
        *--out = *word;
        end = place;
    }
}

// Baseline: lower-casing the line and looking up each of its words straight in the full
// list, without the component call, the punctuation pass or the transcript.
void lookupBaseline(benchmark::State &state, int words)
{
    World &w = world();
    const QString typed = w.line(words);
    for (auto _ : state) {
        const QString lower = typed.toLower();
        int unknown = 0;
        for (const QStringView piece : QStringView(lower).split(u' '))
            unknown += w.HidWord.FindStringExact(piece.toString()) == -1;
        benchmark::DoNotOptimize(unknown);
    }
}

void BM_Baseline_Lookup20Words(benchmark::State &state) { lookupBaseline(state, 20); }
void BM_Baseline_Lookup10000Words(benchmark::State &state) { lookupBaseline(state, 10000); }

// Baseline for the learning turns: the lookups of lookupBaseline in the 29,000-word list,
// then the new words sorted and put in their places in that list in one pass from its end
// (a binary search for each, the items between moved once), and the sorted new words are
// the words-added list. The list is copied back to 29,000 words between runs, untimed.
void insertBaseline(benchmark::State &state, int words)
{
    World &w = world();
    const QString typed = w.line(words);
    ItemListModel roomy(true);
    roomy.AddItems(w.roomy);
    std::vector<QString> known;
    known.reserve(w.roomy.size() + words);
    for (auto _ : state) {
        state.PauseTiming();
        known.assign(w.roomy.cbegin(), w.roomy.cend());
        state.ResumeTiming();

        const QString lower = typed.toLower();
        std::vector<QString> fresh;
        for (const QStringView piece : QStringView(lower).split(u' ')) {
            QString word = piece.toString();
            if (roomy.FindStringExact(word) == -1)
                fresh.push_back(std::move(word));
        }
        std::stable_sort(fresh.begin(), fresh.end(), itemLess);
        insertSorted(known, fresh);
        benchmark::DoNotOptimize(known.data());
        benchmark::DoNotOptimize(fresh.data());
    }
}

void BM_Baseline_InsertThirdOf20New(benchmark::State &state) { insertBaseline(state, 20); }
void BM_Baseline_InsertThirdOf10000New(benchmark::State &state) { insertBaseline(state, 10000); }

void BM_Compose(benchmark::State &state)
{
    World &w = world();
    ReplyComposer composer(w.HidWord, w.HidCPU, w.random);
    for (auto _ : state)
        benchmark::DoNotOptimize(composer.compose(QStringLiteral("Human")));
}

// Baseline: the 58 draws that every reply makes, and nothing else.
void BM_Baseline_58Draws(benchmark::State &state)
{
    World &w = world();
    for (auto _ : state) {
        float sum = 0;
        for (int i = 0; i < 58; ++i)
            sum += w.random.Random(0, 32766);
        benchmark::DoNotOptimize(sum);
    }
}

// One conversation line ("CPU: " + a reply) into a transcript that already holds
// state.range(0) lines. Every 100 writes the added lines are taken out again (untimed), so
// the transcript stays near its starting size.
void BM_TranscriptWrite(benchmark::State &state)
{
    QTextEdit edit;
    edit.resize(700, 400);
    edit.show();
    TextEditTranscript WW(&edit);
    WW.insVersionLine();
    for (int i = 1; i < state.range(0); ++i) {
        WW.insName(QStringLiteral("Human: "));
        WW.insSayPerson(QStringLiteral("line %1 of what we said before").arg(i));
    }
    const int start = edit.document()->characterCount() - 1;
    int written = 0;
    for (auto _ : state) {
        WW.insName(QStringLiteral("CPU: "));
        WW.insSayCPU(QStringLiteral("That's interesting, Human. Tell me more about the moon."));
        if (++written == 100) {
            state.PauseTiming();
            QTextCursor c(edit.document());
            c.setPosition(start);
            c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            c.removeSelectedText();
            written = 0;
            state.ResumeTiming();
        }
    }
    state.counters["lines"] = edit.document()->blockCount();
}

// Baseline: the same text appended to a plain string.
void BM_Baseline_StringAppend(benchmark::State &state)
{
    QString text;
    int written = 0;
    for (auto _ : state) {
        text += QStringLiteral("\r\nCPU: ");
        text += QStringLiteral("That's interesting, Human. Tell me more about the moon.");
        benchmark::DoNotOptimize(text.data());
        if (++written == 100) {
            text.clear();
            written = 0;
        }
    }
}

// The scaling curves (bench/curves.sh draws them): a 20-word turn that learns 7 new words,
// with 1,000, 8,000 and 32,000 known words, through the transcript; next to it the same four
// transcript writes alone, which every turn makes whatever it knows.
bool isFresh(int i) { return i % 3 == 2 || i == 19; }
QString freshWord(int i) { return QStringLiteral("fresh%1").arg(i); }

QString sevenNewIn20(const QStringList &known)
{
    QStringList parts;
    for (int i = 0; i < 20; ++i)
        parts.append(isFresh(i) ? freshWord(i) : known.at((i * 7919) % known.size()));
    return parts.join(u' ');
}

QStringList sevenFresh()
{
    QStringList words;
    for (int i = 0; i < 20; ++i)
        if (isFresh(i))
            words.append(freshWord(i));
    return words;
}

void BM_Curve_TurnLearning7(benchmark::State &state)
{
    World &w = world();
    const QStringList known = w.full.mid(0, state.range(0));
    ConversationTurn turn(
        w.WW, w.input, w.HidWord, w.HidCPU, [&]() -> ItemList & { return w.lstAI; }, w.rowkit, w.random, w.commands);
    const QString typed = sevenNewIn20(known);
    const QStringList learned = sevenFresh();
    w.resetLists(known);
    int sinceClear = 0;
    for (auto _ : state) {
        QString name = QStringLiteral("Human"), say = typed;
        turn.Process(name, say);
        state.PauseTiming();
        if (w.HidWord.ListCount() != known.size() + 7 || w.lstAI.ListCount() != 7)
            state.SkipWithError("the turn did not learn what it should have");
        w.forget(learned);
        if (++sinceClear == 200) {
            w.WW.clear();
            sinceClear = 0;
        }
        state.ResumeTiming();
    }
    w.WW.clear();
    w.resetLists(w.full);
    state.counters["known"] = double(known.size());
}

void BM_Curve_Baseline_TurnWrites(benchmark::State &state)
{
    World &w = world();
    const QString typed = sevenNewIn20(w.full.mid(0, state.range(0)));
    const QString reply = QStringLiteral("That's interesting, Human. Tell me more about the moon.");
    int sinceClear = 0;
    for (auto _ : state) {
        {
            const Transcript::Batch batch(w.WW);
            w.WW.insName(QStringLiteral("Human: "));
            w.WW.insSayPerson(typed);
            w.WW.insName(QStringLiteral("CPU: "));
            w.WW.insSayCPU(reply);
        }
        if (++sinceClear == 200) {
            state.PauseTiming();
            w.WW.clear();
            sinceClear = 0;
            state.ResumeTiming();
        }
    }
    w.WW.clear();
    state.counters["known"] = double(state.range(0));
}

// Learning alone: 7 new words into 32,760 (the list is full after it), against a binary
// search for each word's place and one pass that moves the items after the first place.
void BM_Learn7Into32760(benchmark::State &state)
{
    World &w = world();
    const QStringList known = w.full.mid(0, ItemList::MaxItems - 7);
    QStringList fresh;
    for (int i = 0; i < 7; ++i)
        fresh.append(wordFor(100000 + i * 4099));
    w.resetLists(known);
    for (auto _ : state) {
        w.HidWord.AddItems(fresh);
        state.PauseTiming();
        if (w.HidWord.ListCount() != ItemList::MaxItems)
            state.SkipWithError("the words were not added");
        w.forget(fresh);
        state.ResumeTiming();
    }
    w.resetLists(w.full);
}

void BM_Baseline_SortedInsert7Into32760(benchmark::State &state)
{
    World &w = world();
    std::vector<QString> fresh;
    for (int i = 0; i < 7; ++i)
        fresh.push_back(wordFor(100000 + i * 4099));
    std::stable_sort(fresh.begin(), fresh.end(), itemLess);
    std::vector<QString> known;
    known.reserve(ItemList::MaxItems);
    for (auto _ : state) {
        state.PauseTiming();
        known.assign(w.full.cbegin(), w.full.cbegin() + (ItemList::MaxItems - 7));
        state.ResumeTiming();
        insertSorted(known, fresh);
        benchmark::DoNotOptimize(known.data());
    }
}

}  // namespace

BENCHMARK(BM_Baseline_Lookup20Words)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Turn20Words_NoTranscript)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Turn20Words)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_Lookup10000Words)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Turn10000Words_NoTranscript)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Turn10000Words)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_InsertThirdOf20New)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Turn20Words_ThirdNew_NoTranscript)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Turn20Words_ThirdNew)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_InsertThirdOf10000New)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Turn10000Words_ThirdNew_NoTranscript)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Turn10000Words_ThirdNew)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_58Draws)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Compose)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_StringAppend)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TranscriptWrite)->Arg(0)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Baseline_SortedInsert7Into32760)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Learn7Into32760)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Curve_Baseline_TurnWrites)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Curve_TurnLearning7)->Arg(1000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMicrosecond);
