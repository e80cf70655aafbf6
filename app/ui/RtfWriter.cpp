// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RtfWriter.h"

#include "ui/FontFamilies.h"

#include <QColor>
#include <QFont>
#include <QFontInfo>
#include <QHash>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace jabbly {

namespace {

// The character formatting that the writer carries over to RTF.
struct RunFormat {
    int font = 0;         // index in the font table
    int halfPoints = 24;  // \fs; RTF's default is 12 points
    int colour = 0;       // index in the colour table; 0 is the reader's automatic colour
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

void appendNumber(QByteArray &out, int n)
{
    char digits[12];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr - digits);
}

// Text of a run or of a font name, with every character that RTF gives a meaning to
// escaped and everything outside printable ASCII as a Unicode escape. Written straight
// into room made for the longest escape of every character, then cut to size.
void appendText(QByteArray &out, QStringView text, bool fontName = false)
{
    constexpr qsizetype LongestEscape = 12;  // \u-32768\'3f
    const qsizetype start = out.size();
    out.resize(start + text.size() * LongestEscape);
    char *p = out.data() + start;
    auto put = [&p](const char *s) {
        while (*s)
            *p++ = *s++;
    };
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7f) {
            if (u == u'\\' || u == u'{' || u == u'}') {
                *p++ = '\\';
                *p++ = char(u);
            } else if (u == u';' && fontName) {
                put("\\'3b");  // a bare ';' would end the font's name
            } else {
                *p++ = char(u);
            }
        } else if (u == u'\t' && !fontName) {
            put("\\tab ");
        } else if (u == QChar::LineSeparator && !fontName) {
            put("\\line ");
        } else {
            // The fallback "?" is written as its hex escape: some readers take a bare "?"
            // together with the letters after it as the fallback, and drop them all.
            put("\\u");
            p = std::to_chars(p, p + 6, int16_t(u)).ptr;
            put("\\'3f");
        }
    }
    out.truncate(p - out.constData());
}

class Writer {
public:
    explicit Writer(const QTextDocument &document) : document_(document) {}

    QByteArray write()
    {
        // Font 0, the default of the whole document, is the transcript's font: an empty
        // transcript still says which font it uses.
        fontIndex(document_.defaultFont());
        body_.reserve(document_.characterCount() + document_.characterCount() / 4 + 64);

        // The runs' text is read from the document's whole text at their positions, rather
        // than copied out run by run.
        const QString text = document_.toRawText();
        const QTextBlock first = document_.begin();
        setFormat(formatOf(first));
        // Blocks and their runs follow each other without gaps, so positions are counted
        // along; asking a run or a block for its position searches the document each time.
        qsizetype blockStart = 0;
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            if (block != first)
                body_ += "\\par\r\n";
            qsizetype position = blockStart;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                setFormat(formatOf(fragment));
                appendText(body_, QStringView(text).mid(position, fragment.length()));
                position += fragment.length();
            }
            blockStart += block.length();  // the text and the block's separator
        }

        QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl" + fontTable_ + "}\r\n{\\colortbl ;" +
                         colourTable_ + "}\r\n\\viewkind4\\pard\\plain";
        rtf.reserve(rtf.size() + body_.size() + 4);
        rtf += body_;
        rtf += "}\r\n";
        return rtf;
    }

private:
    // The format of a block or a fragment. The document keeps each distinct character
    // format once, under an index, so each is worked out once however many runs use it.
    template <typename Source>
    RunFormat formatOf(const Source &source)
    {
        const int index = source.charFormatIndex();
        auto it = formats_.constFind(index);
        if (it == formats_.constEnd())
            it = formats_.insert(index, runFormat(source.charFormat()));
        return *it;
    }

    RunFormat runFormat(const QTextCharFormat &format)
    {
        // Properties the run does not set are the document's.
        const QFont font = format.font().resolve(document_.defaultFont());
        RunFormat run;
        run.font = fontIndex(font);
        double points = font.pointSizeF();
        if (points <= 0)
            points = font.pixelSize() * 72.0 / 96.0;
        run.halfPoints = points > 0 ? std::clamp(qRound(points * 2), 1, 32767) : 24;
        run.colour = colourIndex(format.foreground());
        run.bold = font.bold();
        run.italic = font.italic();
        run.underline = font.underline();
        run.strikeOut = font.strikeOut();
        return run;
    }

    int fontIndex(const QFont &font)
    {
        // A reader knows a family by its own name, not by Qt's "family [foundry]".
        const QString family = familyWithoutFoundry(font.family());
        auto it = fonts_.constFind(family);
        if (it != fonts_.constEnd())
            return *it;
        const int index = int(fonts_.size());
        fonts_.insert(family, index);
        // The pitch of the font really drawn, so that a reader without the family falls
        // back to one of the same pitch: the transcript asks for its first font with a
        // monospace hint, which says nothing about a family chosen later.
        const bool fixedPitch = QFontInfo(font).fixedPitch();
        fontTable_ += "{\\f";
        appendNumber(fontTable_, index);
        fontTable_ += fixedPitch ? "\\fmodern\\fprq1 " : "\\fnil\\fprq2 ";
        appendText(fontTable_, family, true);
        fontTable_ += ";}";
        return index;
    }

    int colourIndex(const QBrush &brush)
    {
        if (brush.style() == Qt::NoBrush)
            return 0;
        const QColor colour = brush.color().toRgb();
        const QRgb key = colour.rgb();
        auto it = colours_.constFind(key);
        if (it != colours_.constEnd())
            return *it;
        const int index = int(colours_.size()) + 1;
        colours_.insert(key, index);
        colourTable_ += "\\red";
        appendNumber(colourTable_, colour.red());
        colourTable_ += "\\green";
        appendNumber(colourTable_, colour.green());
        colourTable_ += "\\blue";
        appendNumber(colourTable_, colour.blue());
        colourTable_ += ';';
        return index;
    }

    // Writes the control words for what changes from the format in force.
    void setFormat(const RunFormat &next)
    {
        const qsizetype before = body_.size();
        auto number = [this](const char *word, int now, int then) {
            if (now != then) {
                body_ += word;
                appendNumber(body_, now);
            }
        };
        auto toggle = [this](const char *on, const char *off, bool now, bool then) {
            if (now != then)
                body_ += now ? on : off;
        };
        number("\\f", next.font, current_.font);
        number("\\fs", next.halfPoints, current_.halfPoints);
        number("\\cf", next.colour, current_.colour);
        toggle("\\b", "\\b0", next.bold, current_.bold);
        toggle("\\i", "\\i0", next.italic, current_.italic);
        toggle("\\ul", "\\ulnone", next.underline, current_.underline);
        toggle("\\strike", "\\strike0", next.strikeOut, current_.strikeOut);
        if (body_.size() != before)
            body_ += ' ';  // ends the last control word; not part of the text
        current_ = next;
    }

    const QTextDocument &document_;
    QByteArray body_;
    QByteArray fontTable_;
    QByteArray colourTable_;
    QHash<QString, int> fonts_;
    QHash<QRgb, int> colours_;
    QHash<int, RunFormat> formats_;
    // In force after \pard\plain, except that the first run always names its font and
    // size: some readers take no notice of \deff.
    RunFormat current_{.font = -1, .halfPoints = -1};
};

}  // namespace

QByteArray writeRtf(const QTextDocument &document) { return Writer(document).write(); }

}  // namespace jabbly
