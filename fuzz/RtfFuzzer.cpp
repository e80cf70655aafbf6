// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF writer: the input makes a transcript-like document of runs of arbitrary UTF-16
// text (also lone surrogates and the characters a document takes for structure) in
// arbitrary colours (or none), fonts with odd names, sizes, bold and italic, split into
// paragraphs. The RTF written for it is read back by a small reader of the RTF that the
// writer uses, here.
//
// Invariants: the RTF is 7-bit ASCII, its groups balance, and reading it gives the
// document's paragraphs, unit for unit, each character with the colour, font family,
// size, bold and italic that the document gives it.

#include "FuzzSupport.h"
#include "ui/RtfWriter.h"

#include <QGuiApplication>
#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdlib>
#include <optional>

using namespace jabbly;
using namespace jabbly::fuzz;

namespace {

struct Attributes {
    std::optional<QRgb> colour;  // none: the reader's automatic colour
    QString family;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    friend bool operator==(const Attributes &, const Attributes &) = default;
};

struct Character {
    char16_t unit;
    Attributes attributes;
    friend bool operator==(const Character &, const Character &) = default;
};

using Paragraph = QList<Character>;

QString describe(const QList<Paragraph> &paragraphs)
{
    QStringList out;
    for (const Paragraph &p : paragraphs) {
        QString text;
        for (const Character &c : p)
            text += QChar(c.unit);
        out += text;
    }
    return show(out);
}

// Reads the RTF that writeRtf writes: the font and colour tables, then the body's control
// words and text. Anything else it meets is a failure of the writer.
class RtfReader {
public:
    explicit RtfReader(const QByteArray &rtf) : rtf_(rtf) {}

    QList<Paragraph> read()
    {
        paragraphs_.append(Paragraph());
        while (at_ < rtf_.size()) {
            const char c = rtf_[at_++];
            if (c == '{') {
                stack_.append(state_);
                // The document's own group, then the tables, whose entries are groups of
                // their own.
                if (depth() > 1 && state_.destination == Destination::Body)
                    state_.destination = Destination::Group;
            } else if (c == '}') {
                FUZZ_CHECK(!stack_.isEmpty(), QStringLiteral("a '}' without its '{' at %1").arg(at_));
                if (state_.destination == Destination::FontTable && !fontName_.isNull())
                    FUZZ_CHECK(false, QStringLiteral("a font name without its ';'"));
                state_ = stack_.takeLast();
            } else if (c == '\\') {
                controlWord();
            } else if (c == '\r' || c == '\n') {
                continue;
            } else {
                literal(static_cast<unsigned char>(c));
            }
        }
        FUZZ_CHECK(stack_.isEmpty(), QStringLiteral("%1 groups left open").arg(stack_.size()));
        return paragraphs_;
    }

private:
    enum class Destination { Body, Group, FontTable, ColourTable };
    struct State {
        Destination destination = Destination::Body;
        int font = 0;
        int halfPoints = 24;
        int colour = 0;
        bool bold = false;
        bool italic = false;
    };

    qsizetype depth() const { return stack_.size(); }

    void controlWord()
    {
        FUZZ_CHECK(at_ < rtf_.size(), QStringLiteral("a lone '\\' at the end"));
        const char c = rtf_[at_];
        if (c == '\\' || c == '{' || c == '}') {
            ++at_;
            literal(static_cast<unsigned char>(c));
            return;
        }
        if (c == '\'') {
            const bool ok = at_ + 2 < rtf_.size();
            FUZZ_CHECK(ok, QStringLiteral("a cut \\' escape"));
            bool hex = false;
            const int byte = rtf_.mid(at_ + 1, 2).toInt(&hex, 16);
            FUZZ_CHECK(hex, QStringLiteral("a bad \\' escape"));
            at_ += 3;
            // An escaped byte is a character, never a delimiter.
            if (state_.destination == Destination::FontTable) {
                FUZZ_CHECK(!fontName_.isNull(), QStringLiteral("an escape outside a font entry"));
                fontName_ += QChar(static_cast<char16_t>(byte));
            } else {
                add(static_cast<char16_t>(byte));
            }
            return;
        }
        QByteArray word;
        while (at_ < rtf_.size() && ((rtf_[at_] >= 'a' && rtf_[at_] <= 'z')))
            word += rtf_[at_++];
        FUZZ_CHECK(!word.isEmpty(), QStringLiteral("an unknown control symbol '\\%1'").arg(QChar(c)));
        std::optional<int> number;
        const qsizetype digits = at_;
        if (at_ < rtf_.size() && (rtf_[at_] == '-' || (rtf_[at_] >= '0' && rtf_[at_] <= '9'))) {
            ++at_;
            while (at_ < rtf_.size() && rtf_[at_] >= '0' && rtf_[at_] <= '9')
                ++at_;
            number = rtf_.mid(digits, at_ - digits).toInt();
        }
        if (at_ < rtf_.size() && rtf_[at_] == ' ')
            ++at_;
        apply(word, number);
    }

    void apply(const QByteArray &word, std::optional<int> n)
    {
        if (word == "fonttbl" || word == "colortbl") {
            FUZZ_CHECK(state_.destination == Destination::Group,
                       QStringLiteral("a table that does not begin its group"));
            state_.destination = word == "fonttbl" ? Destination::FontTable : Destination::ColourTable;
        } else if (state_.destination == Destination::Group) {
            FUZZ_CHECK(false, QStringLiteral("an unknown group \\%1").arg(QString::fromLatin1(word)));
        } else if (state_.destination == Destination::FontTable) {
            if (word == "f" && n) {
                font_ = *n;
                fontName_ = QStringLiteral("");
            } else if (word == "u" && n) {
                fontName_ += QChar(static_cast<char16_t>(*n));
                skipFallback();
            } else if (word == "fprq" && n) {
                // The pitch: 1 fixed, 2 variable.
                FUZZ_CHECK(*n == 1 || *n == 2, QStringLiteral("font pitch %1").arg(*n));
            } else {
                FUZZ_CHECK(word == "fmodern" || word == "fnil",
                           QStringLiteral("font table word \\%1").arg(QString::fromLatin1(word)));
            }
        } else if (state_.destination == Destination::ColourTable) {
            FUZZ_CHECK(n && (word == "red" || word == "green" || word == "blue"),
                       QStringLiteral("colour table word \\%1").arg(QString::fromLatin1(word)));
            FUZZ_CHECK(*n >= 0 && *n <= 255, QStringLiteral("colour part %1").arg(*n));
            (word == "red" ? red_ : word == "green" ? green_ : blue_) = *n;
        } else if (word == "par") {
            paragraphs_.append(Paragraph());
        } else if (word == "tab") {
            add(u'\t');
        } else if (word == "line") {
            add(QChar::LineSeparator);
        } else if (word == "u" && n) {
            add(static_cast<char16_t>(*n));
            skipFallback();
        } else if (word == "f" && n) {
            state_.font = *n;
        } else if (word == "fs" && n) {
            state_.halfPoints = *n;
        } else if (word == "cf" && n) {
            state_.colour = *n;
        } else if (word == "b") {
            state_.bold = !n || *n != 0;
        } else if (word == "i") {
            state_.italic = !n || *n != 0;
        } else if (word == "plain") {
            const Destination d = state_.destination;
            state_ = State();
            state_.destination = d;
        } else if (word == "ul" || word == "ulnone" || word == "strike" || word == "rtf" || word == "ansi" ||
                   word == "ansicpg" || word == "deff" || word == "uc" || word == "viewkind" || word == "pard") {
            // formatting this reader does not compare, and the header
        } else {
            FUZZ_CHECK(false, QStringLiteral("unknown control word \\%1").arg(QString::fromLatin1(word)));
        }
    }

    // \uc1: the one fallback character after a Unicode escape, which the writer makes "\'3f".
    void skipFallback()
    {
        FUZZ_CHECK(rtf_.mid(at_, 4) == "\\'3f",
                   QStringLiteral("no \\'3f fallback after a Unicode escape at %1").arg(at_));
        at_ += 4;
    }

    void literal(unsigned char c)
    {
        switch (state_.destination) {
        case Destination::FontTable:
            if (c == ';') {
                FUZZ_CHECK(!fontName_.isNull(), QStringLiteral("a ';' outside a font entry"));
                fonts_.insert(font_, fontName_);
                fontName_ = QString();
            } else {
                FUZZ_CHECK(!fontName_.isNull(), QStringLiteral("text outside a font entry"));
                fontName_ += QChar(c);
            }
            break;
        case Destination::ColourTable:
            FUZZ_CHECK(c == ';', QStringLiteral("text in the colour table"));
            if (!sawAuto_) {
                sawAuto_ = true;
                colours_.append(std::nullopt);
            } else {
                colours_.append(qRgb(red_, green_, blue_));
            }
            break;
        case Destination::Group:
            FUZZ_CHECK(false, QStringLiteral("text in an unknown group"));
            break;
        case Destination::Body:
            add(c);
            break;
        }
    }

    void add(char16_t unit)
    {
        FUZZ_CHECK(state_.destination == Destination::Body, QStringLiteral("body text outside the body"));
        FUZZ_CHECK(fonts_.contains(state_.font), QStringLiteral("font %1 is not in the table").arg(state_.font));
        FUZZ_CHECK(state_.colour >= 0 && state_.colour < colours_.size(),
                   QStringLiteral("colour %1 is not in the table").arg(state_.colour));
        Attributes a;
        a.colour = colours_[state_.colour];
        a.family = fonts_.value(state_.font);
        a.halfPoints = state_.halfPoints;
        a.bold = state_.bold;
        a.italic = state_.italic;
        paragraphs_.last().append({unit, a});
    }

    const QByteArray &rtf_;
    qsizetype at_ = 0;
    State state_;
    QList<State> stack_;
    QList<Paragraph> paragraphs_;
    QHash<int, QString> fonts_;
    int font_ = 0;
    QString fontName_;  // null outside a font entry
    QList<std::optional<QRgb>> colours_;
    bool sawAuto_ = false;
    int red_ = 0, green_ = 0, blue_ = 0;
};

// What the document says of each character, as the writer must carry it over.
QList<Paragraph> expected(const QTextDocument &document)
{
    QList<Paragraph> paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        Paragraph p;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QFont font = format.font().resolve(document.defaultFont());
            Attributes a;
            if (format.foreground().style() != Qt::NoBrush)
                a.colour = format.foreground().color().toRgb().rgb() | 0xFF000000u;
            a.family = font.family();
            a.halfPoints = qRound(font.pointSizeF() * 2);
            a.bold = font.bold();
            a.italic = font.italic();
            for (const QChar c : fragment.text())
                p.append({c.unicode(), a});
        }
        paragraphs.append(p);
    }
    return paragraphs;
}

const QStringList Families{QStringLiteral("Lucida Console"),
                           QStringLiteral("Sans;Serif;"),
                           QStringLiteral("{Brace}\\back\\slash"),
                           QStringLiteral("\u00dcn\u00efcode \u5b57\u4f53"),
                           QStringLiteral(" spaced "),
                           QStringLiteral("x")};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QGuiApplication *app = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "fuzz_rtf";
        static char *argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;

    InputReader in(data, size);
    const int runs = in.byte() % 24;
    struct Run {
        uint8_t kind, red, green, blue, font, points, length;
    };
    QList<Run> plan;
    for (int i = 0; i < runs; ++i)
        plan.append({in.byte(), in.byte(), in.byte(), in.byte(), in.byte(), in.byte(), in.byte()});
    const bool rawUnits = in.byte() & 1;
    const QByteArray rest = in.rest();
    // The text: raw UTF-16 units (lone surrogates too), or UTF-8.
    const QString pool = rawUnits ? QString(reinterpret_cast<const QChar *>(rest.constData()), rest.size() / 2)
                                  : QString::fromUtf8(rest);

    QTextDocument document;
    QFont base(QStringLiteral("Lucida Console"));
    base.setPointSize(10);
    document.setDefaultFont(base);
    QTextCursor cursor(&document);
    qsizetype used = 0;
    for (const Run &r : plan) {
        if (r.kind % 4 == 0)
            cursor.insertBlock();
        QTextCharFormat format;
        if (!(r.kind & 4))
            format.setForeground(QColor(r.red, r.green, r.blue));
        format.setFontFamilies({r.font < 200 ? Families[r.font % Families.size()] : pool.left(r.font % 16)});
        format.setFontPointSize(1 + r.points % 96);
        format.setFontWeight(r.kind & 8 ? QFont::Bold : QFont::Normal);
        format.setFontItalic(r.kind & 16);
        const QString text = pool.mid(used, r.length % 48);
        used += text.size();
        cursor.insertText(text, format);
    }

    const QByteArray rtf = writeRtf(document);
    for (qsizetype i = 0; i < rtf.size(); ++i)
        FUZZ_CHECK(static_cast<unsigned char>(rtf[i]) < 0x80, QStringLiteral("byte %1 of the RTF is not ASCII").arg(i));
    FUZZ_CHECK(rtf.startsWith("{\\rtf1"), QStringLiteral("no RTF header"));
    const QList<Paragraph> read = RtfReader(rtf).read();
    const QList<Paragraph> wanted = expected(document);
    if (read != wanted) {
        QString where;
        for (qsizetype p = 0; p < std::min(read.size(), wanted.size()) && where.isEmpty(); ++p) {
            for (qsizetype c = 0; c < std::min(read[p].size(), wanted[p].size()); ++c) {
                if (!(read[p][c] == wanted[p][c])) {
                    const Attributes &a = read[p][c].attributes, &b = wanted[p][c].attributes;
                    where =
                        QStringLiteral("paragraph %1 character %2: read %3/%4/%5/%6 '%7', wanted %8/%9/%10/%11 '%12'")
                            .arg(p)
                            .arg(c)
                            .arg(a.colour ? QString::number(*a.colour, 16) : QStringLiteral("auto"))
                            .arg(a.halfPoints)
                            .arg(a.bold)
                            .arg(a.italic)
                            .arg(show(a.family))
                            .arg(b.colour ? QString::number(*b.colour, 16) : QStringLiteral("auto"))
                            .arg(b.halfPoints)
                            .arg(b.bold)
                            .arg(b.italic)
                            .arg(show(b.family));
                    break;
                }
            }
        }
        FUZZ_CHECK(false, QStringLiteral("read back %1, wanted %2; %3\n%4")
                              .arg(describe(read), describe(wanted), where, QString::fromLatin1(rtf.left(2000))));
    }
    return 0;
}
