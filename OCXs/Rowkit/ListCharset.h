#pragma once
// The character set of list files: the locale's. Under a UTF-8 locale (and under the
// C/POSIX locale, which names plain ASCII) list files are UTF-8 without a byte-order
// mark; a file that is not valid UTF-8 is read as Windows-1252, so that lists written by
// older versions still load. Under any other locale its own character set is used, except
// for a file that is valid UTF-8 and holds characters beyond ASCII: that one was written
// as UTF-8 and is read so.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringEncoder>
#include <QStringView>

#include <string>

namespace rowkit {

// Bytes of a list file to text. Never fails: every byte becomes some character, and a
// byte-order mark is not special (its characters begin the first item). Under UTF-8 and
// Windows-1252 the bytes CR and LF only ever stand for themselves, so lines can be found
// in the bytes and each decoded on its own; other character sets are decoded whole.
class ListTextDecoder {
public:
    // Decides how `bytes`, which must outlive the decoder, are to be read.
    explicit ListTextDecoder(const QByteArray &bytes);
    bool decodesLines() const { return mode_ != Mode::Locale; }
    // One line of the file, when decodesLines().
    QString decodeLine(QByteArrayView line) const;
    // The whole file.
    QString decodeAll() const;

private:
    enum class Mode { Utf8, Windows1252, Locale };
    const QByteArray &bytes_;
    std::string charset_;
    Mode mode_;
};

// Text to the bytes of a list file, piece by piece, so that a whole list is encoded
// without first being joined into one text. A character that the locale's character set
// cannot represent is written as '?'; under UTF-8 every character can be, and a lone
// UTF-16 surrogate (half a character) is written as U+FFFD, the replacement character.
class ListTextEncoder {
public:
    explicit ListTextEncoder(qsizetype expectedLength);
    // The text followed by CR LF.
    void appendLine(QStringView text);
    QByteArray finish();

private:
    std::string charset_;  // empty for UTF-8
    QStringEncoder utf8_;
    QByteArray bytes_;
    qsizetype used_ = 0;
    QString pending_;  // the text for a locale character set, converted by finish()
};

// Windows-1252 to text. The five bytes that Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the control characters of the same value.
QString decodeWindows1252(QByteArrayView bytes);

}  // namespace rowkit
