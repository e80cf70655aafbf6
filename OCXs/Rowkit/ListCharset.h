#pragma once
// The character set of list files: the locale's. Under a UTF-8 locale (and under the
// C/POSIX locale, which names plain ASCII) list files are UTF-8 without a byte-order
// mark; a file that is not valid UTF-8 is read as Windows-1252, so that lists written by
// older versions still load. Under any other locale its own character set is used.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace rowkit {

// Bytes of a list file to text. Never fails: every byte becomes some character, and a
// byte-order mark is not special (its characters begin the first item).
QString decodeListText(const QByteArray &bytes);

// Text to the bytes of a list file. A character that the locale's character set cannot
// represent is written as '?', as is a lone UTF-16 surrogate under UTF-8.
QByteArray encodeListText(QStringView text);

// Windows-1252 to text. The five bytes that Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the control characters of the same value.
QString decodeWindows1252(const QByteArray &bytes);

}  // namespace rowkit
