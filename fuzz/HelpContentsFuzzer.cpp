// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The help's contents reader (parseHelpContents), which the help window builds its
// contents tree from.
//
// Input: one byte of mode, then UTF-8. Mode odd: the rest is a contents file. Mode even:
// the rest is a tree of entries, U+001E between them: the first character of each says
// where it goes (its code modulo 3: beside the entry before, under it, or back one
// level), then the name, U+001F, the page. The tree is written as a contents file, with
// the names and pages escaped as HTML, and read back.
//
// Invariants: every entry's parent comes before it (or is -1), no more entries come out
// than the file has <OBJECT> elements, and a written tree reads back entry for entry.

#include "FuzzSupport.h"
#include "ui/HelpContents.h"

using namespace jabbly;
using namespace jabbly::fuzz;

namespace {

QString escapeHtml(QString text)
{
    text.replace(u'&', QStringLiteral("&amp;"));
    text.replace(u'<', QStringLiteral("&lt;"));
    text.replace(u'>', QStringLiteral("&gt;"));
    text.replace(u'"', QStringLiteral("&quot;"));
    return text;
}

void checkShape(const QList<HelpContentsEntry> &entries, const QString &hhc)
{
    for (qsizetype i = 0; i < entries.size(); ++i)
        FUZZ_CHECK(entries[i].parent >= -1 && entries[i].parent < i,
                   QStringLiteral("entry %1 has the parent %2").arg(i).arg(entries[i].parent));
    const qsizetype objects = hhc.count(QStringLiteral("<object"), Qt::CaseInsensitive);
    FUZZ_CHECK(entries.size() <= objects,
               QStringLiteral("%1 entries from %2 objects").arg(entries.size()).arg(objects));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    InputReader in(data, size);
    const uint8_t mode = in.byte();
    const QString text = QString::fromUtf8(in.rest());

    if (mode & 1) {
        checkShape(parseHelpContents(text), text);
        return 0;
    }

    // The tree, and the contents file that lists it.
    QList<HelpContentsEntry> tree;
    QList<qsizetype> open;  // the entry each open list belongs to
    QString hhc = QStringLiteral("<HTML><BODY>\n<UL>\n");
    open.append(-1);
    for (const QString &part : splitBounded(text, QChar(0x1E), 64, 200)) {
        if (part.isEmpty())
            continue;
        // By code point: taking one UTF-16 unit would leave half a surrogate pair in the name,
        // which no contents file read as UTF-8 can hold.
        const char32_t first = QStringView(part).toUcs4().value(0);
        const qsizetype firstUnits = QChar::requiresSurrogates(first) ? 2 : 1;
        const int where = static_cast<int>(first % 3);
        if (where == 1 && !tree.isEmpty() && tree.last().parent == open.last()) {
            hhc += QStringLiteral("<UL>\n");
            open.append(tree.size() - 1);
        } else if (where == 2 && open.size() > 1) {
            hhc += QStringLiteral("</UL>\n");
            open.removeLast();
        }
        const QStringList fields = part.mid(firstUnits).split(QChar(0x1F));
        HelpContentsEntry entry{fields.value(0), fields.value(1), open.last()};
        hhc += QStringLiteral("  <LI> <OBJECT type=\"text/sitemap\">\n    <param name=\"Name\" value=\"%1\">\n"
                              "    <param name=\"Local\" value=\"%2\">\n    </OBJECT>\n")
                   .arg(escapeHtml(entry.name), escapeHtml(entry.local));
        tree.append(entry);
    }
    while (!open.isEmpty()) {
        hhc += QStringLiteral("</UL>\n");
        open.removeLast();
    }
    hhc += QStringLiteral("</BODY></HTML>\n");

    const QList<HelpContentsEntry> read = parseHelpContents(hhc);
    checkShape(read, hhc);
    FUZZ_CHECK(read.size() == tree.size(),
               QStringLiteral("%1 entries written, %2 read\n%3").arg(tree.size()).arg(read.size()).arg(hhc));
    for (qsizetype i = 0; i < tree.size(); ++i) {
        FUZZ_CHECK(read[i] == tree[i], QStringLiteral("entry %1 written as %2 / %3 under %4, read as %5 / %6 under %7")
                                           .arg(i)
                                           .arg(show(tree[i].name), show(tree[i].local))
                                           .arg(tree[i].parent)
                                           .arg(show(read[i].name), show(read[i].local))
                                           .arg(read[i].parent));
    }
    return 0;
}
