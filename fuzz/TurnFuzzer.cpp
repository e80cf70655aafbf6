// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One conversation turn after another, as the Say button runs them: ConversationTurn over a
// recording transcript, the real Rowkit, real item lists and a seeded generator.
//
// Input: two bytes of seed, one byte of list options (high half 0xF: HidWord starts nearly
// full, 0xE: lstAI does, 0xD: both do, with bits 0-2 + 1 places left; filling a list costs
// more than the turns, so the other values leave the lists empty), then UTF-8 text in
// sections parted by U+001E: the user's name, the reply templates (parted by LF; when the
// section is empty, cpu.txt holds no lines), then one section for each line the user types.

#include "FuzzSupport.h"
#include "lists/ItemListModel.h"
#include "conversation/RandomGenerator.h"
#include "RecordingTranscript.h"
#include "conversation/Turn.h"

#include <QHash>

#include <memory>

using namespace jabbly;
using namespace jabbly::fuzz;
using jabbly::testing::RecordingTranscript;

namespace {

// Short enough that a name put in for every £NAME£ of a template, and then filled in
// itself, stays a small reply.
constexpr qsizetype MaxNameLength = 32;
constexpr qsizetype MaxTemplateLength = 256;
constexpr qsizetype MaxTemplates = 64;
constexpr qsizetype MaxTurns = 32;

class SelectionCount : public InputBox {
public:
    void selectAll() override { ++count; }
    int count = 0;
};

class CommandLog : public CommandRunner {
public:
    void run(Command command) override { ran.append(command); }
    QList<Command> ran;
};

// Distinct words in sorted order, `prefix` and a number, until `placesLeft` places are left.
// The words are made once: an empty list takes a batch over without copying it.
void fillNearlyFull(ItemList &list, char16_t prefix, int placesLeft)
{
    static QHash<char16_t, QStringList> made;
    QStringList &words = made[prefix];
    if (words.isEmpty()) {
        words.reserve(ItemList::MaxItems);
        for (int i = 0; i < ItemList::MaxItems; ++i)
            words += QChar(prefix) + QString::number(100000 + i).mid(1);
    }
    list.AddItems(words.mid(0, ItemList::MaxItems - placesLeft));
}

// The items of `after` that are not in `before`, when `after` is `before` with items put
// in; `kept` turns false when it is not.
QStringList newItems(const QStringList &before, const QStringList &after, bool &kept)
{
    QStringList added;
    qsizetype i = 0;
    for (const QString &item : after) {
        // Items that were there share their text with the copy taken before.
        if (i < before.size() && (before[i].constData() == item.constData() || before[i] == item))
            ++i;
        else
            added += item;
    }
    kept = i == before.size();
    return added;
}

// A word as learning leaves it: not empty, no blank, none of the characters it removes.
bool isCleanWord(const QString &word)
{
    static const QString removed = QStringLiteral("'\".,/\\[]?!:;#()<>{}@* ");
    if (word.isEmpty())
        return false;
    for (const QChar c : word)
        if (removed.contains(c))
            return false;
    return true;
}

// Strictly rising in the sorted lists' order: sorted, and no word twice in any letter case.
bool strictlyInOrder(const QStringList &items)
{
    for (qsizetype i = 1; i < items.size(); ++i)
        if (compareItems(items[i - 1], items[i]) >= 0)
            return false;
    return true;
}

// `word` is in the sorted `list` once, strictly between its neighbours: the check of one
// added word that does not walk a nearly full list.
bool inPlace(const ItemListModel &list, const QString &word)
{
    const QStringList &items = list.items();
    const int32_t k = list.FindStringExact(word);
    return k >= 0 && items[k] == word && (k == 0 || compareItems(items[k - 1], word) < 0) &&
           (k + 1 == items.size() || compareItems(word, items[k + 1]) < 0);
}

using W = RecordingTranscript::Write;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    InputReader input(data, size);
    const uint32_t seed = input.byte() | (uint32_t{input.byte()} << 8);
    const uint8_t options = input.byte();
    const QStringList sections = QString::fromUtf8(input.rest()).split(QChar(0x1E));

    const QString name = sections[0].left(MaxNameLength);
    ItemListModel HidWord(true), HidCPU(false), lstAI(true);
    if (sections.size() > 1 && !sections[1].isEmpty())
        HidCPU.AddItems(splitBounded(sections[1], u'\n', MaxTemplates, MaxTemplateLength));
    // A user may type one of the words that fill HidWord: it is then known already. lstAI
    // holds only words that are also in HidWord, so its filling uses a character that
    // learning removes and no typed word can equal.
    const int fill = options >> 4;
    if (fill == 0xF || fill == 0xD)
        fillNearlyFull(HidWord, u'~', (options & 0x07) + 1);
    if (fill == 0xE || fill == 0xD)
        fillNearlyFull(lstAI, u'#', (options & 0x07) + 1);

    RecordingTranscript WW;
    SelectionCount Say1;
    CommandLog commands;
    RandomGenerator random(seed);
    Rowkit rowkit = rowkitComponent();
    ConversationTurn turn(
        WW, Say1, HidWord, HidCPU, [&]() -> ItemList & { return lstAI; }, rowkit, random, commands, QLocale::c());

    bool toldFull = false;
    for (qsizetype t = 2; t < sections.size() && t < 2 + MaxTurns; ++t) {
        const QString line = sections[t];
        QString NameNo = name;
        QString Say = line;
        const qsizetype before = WW.writes.size();
        const int selectionsBefore = Say1.count;
        const qsizetype commandsBefore = commands.ran.size();
        const QStringList wordsBefore = HidWord.items();
        const int addedBefore = lstAI.ListCount();

        turn.Process(NameNo, Say);

        const QString context = QStringLiteral("turn %1, name %2, line %3").arg(t - 1).arg(show(name), show(line));
        FUZZ_CHECK(NameNo == name && Say == line, QStringLiteral("the turn changed its arguments: ") + context);
        FUZZ_CHECK(HidWord.ListCount() <= ItemList::MaxItems && lstAI.ListCount() <= ItemList::MaxItems &&
                       HidWord.ListCount() >= 0,
                   QStringLiteral("list counts %1 and %2: ").arg(HidWord.ListCount()).arg(lstAI.ListCount()) + context);
        const QList<W> writes = WW.writes.mid(before);
        if (name.isEmpty() || line.isEmpty()) {
            FUZZ_CHECK(writes.isEmpty() && Say1.count == selectionsBefore && HidWord.items() == wordsBefore,
                       QStringLiteral("a turn without name or line did something: ") + context);
            continue;
        }
        FUZZ_CHECK(Say1.count == selectionsBefore + 1,
                   QStringLiteral("the input box was not selected once: ") + context);
        FUZZ_CHECK((writes.size() >= 2 && writes[0] == W{RecordingTranscript::Name, name + QStringLiteral(": ")} &&
                    writes[1] == W{RecordingTranscript::SayPerson, line}),
                   QStringLiteral("no echo: ") + context);
        for (const W &w : writes)
            FUZZ_CHECK(!(w.writer == RecordingTranscript::Command && w.text.startsWith(QStringLiteral("NOTE: Sorry"))),
                       QStringLiteral("the turn failed (%1): ").arg(w.text) + context);

        const QString lower = ConversationTurn::lowerCase(line);
        if (commandFor(lower)) {
            FUZZ_CHECK(writes.size() == 2 && commands.ran.size() == commandsBefore + 1,
                       QStringLiteral("a command turn: ") + context);
            continue;
        }
        FUZZ_CHECK(commands.ran.size() == commandsBefore, QStringLiteral("a command ran: ") + context);
        if (lower == QStringLiteral("hello") || lower == QStringLiteral("how are you?") ||
            lower == QStringLiteral("bye")) {
            FUZZ_CHECK(writes.size() == 4 && HidWord.items() == wordsBefore,
                       QStringLiteral("a canned turn: ") + context);
            continue;
        }

        // Learning: every word of the line is known now, unless HidWord is full; the words
        // new to HidWord are words of the line, and lstAI shows them while it has room.
        const QStringList pieces = WordLearning::cleanLine(lower).split(u' ', Qt::SkipEmptyParts);
        const bool full = HidWord.ListCount() == ItemList::MaxItems;
        for (const QString &piece : pieces)
            FUZZ_CHECK(full || rowkit.ListFindExact(HidWord, piece) >= 0,
                       QStringLiteral("%1 was not learned: ").arg(show(piece)) + context);
        bool kept = true;
        const QStringList learned = newItems(wordsBefore, HidWord.items(), kept);
        FUZZ_CHECK(kept, QStringLiteral("HidWord lost a word or its order: ") + context);
        for (const QString &word : learned) {
            FUZZ_CHECK(isCleanWord(word) && pieces.contains(word),
                       QStringLiteral("learned %1: ").arg(show(word)) + context);
            FUZZ_CHECK(inPlace(HidWord, word) && (lstAI.ListCount() == ItemList::MaxItems || inPlace(lstAI, word)),
                       QStringLiteral("%1 is not in its place: ").arg(show(word)) + context);
        }
        const int shown = lstAI.ListCount() - addedBefore;
        FUZZ_CHECK(shown == learned.size() || (shown < learned.size() && lstAI.ListCount() == ItemList::MaxItems),
                   QStringLiteral("%1 words learned, %2 shown as added: ").arg(learned.size()).arg(shown) + context);

        // The reply, or the note that there is none; the note on a full word list once.
        qsizetype next = 2;
        if (HidCPU.ListCount() > 0) {
            FUZZ_CHECK((writes.size() >= 4 && writes[2] == W{RecordingTranscript::Name, QStringLiteral("CPU: ")} &&
                        writes[3].writer == RecordingTranscript::SayCPU),
                       QStringLiteral("no reply: ") + context);
            const QString chosen = HidCPU.Text();
            if (!chosen.contains(u'£'))
                FUZZ_CHECK(writes[3].text == chosen,
                           QStringLiteral("template %1 replied as %2: ").arg(show(chosen), show(writes[3].text)) +
                               context);
            next = 4;
        } else {
            FUZZ_CHECK((writes.size() >= 3 &&
                        writes[2] == W{RecordingTranscript::Command, ConversationTurn::noRepliesNotice()}),
                       QStringLiteral("no note about the missing replies: ") + context);
            next = 3;
        }
        if (writes.size() > next) {
            FUZZ_CHECK((!toldFull && HidWord.ListCount() == ItemList::MaxItems && writes.size() == next + 1 &&
                        writes[next] == W{RecordingTranscript::Command, ConversationTurn::wordListFullNotice()}),
                       QStringLiteral("unexpected writes after the reply: ") + context);
            toldFull = true;
        }
    }

    // A filled list was checked word by word above.
    if (fill < 0xD) {
        FUZZ_CHECK(strictlyInOrder(HidWord.items()), QStringLiteral("HidWord is out of order or holds a word twice"));
        FUZZ_CHECK(strictlyInOrder(lstAI.items()), QStringLiteral("lstAI is out of order or holds a word twice"));
    }
    return 0;
}
