// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListCharset.h"

#include <QStringDecoder>
#include <QSysInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string>

#include <iconv.h>
#include <langinfo.h>

namespace rowkit {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

const char *utf16Name() { return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE"; }

// An iconv conversion, closed when it goes out of scope.
class Converter {
public:
    Converter(const char *to, const char *from) : cd_(::iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            ::iconv_close(cd_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // (iconv_t)-1 is how iconv_open(3) reports failure.
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }  // NOLINT(performance-no-int-to-ptr)
    // One step of iconv(3); returns its result and leaves errno as iconv set it.
    size_t convert(char **in, size_t *inLeft, char **out, size_t *outLeft)
    {
        return ::iconv(cd_, in, inLeft, out, outLeft);
    }

private:
    iconv_t cd_;
};

}  // namespace

std::string listFileCharset()
{
    const char *codeset = ::nl_langinfo(CODESET);
    std::string key;
    for (const char *p = codeset; p && *p; ++p) {
        if (*p != '-' && *p != '_')
            key += static_cast<char>(*p >= 'a' && *p <= 'z' ? *p - 'a' + 'A' : *p);
    }
    if (key.empty() || key == "UTF8" || key == "ANSIX3.41968" || key == "ASCII" || key == "USASCII")
        return {};
    // A character set that iconv cannot convert is treated like UTF-8 in both directions.
    if (!Converter(utf16Name(), codeset).ok())
        return {};
    return codeset;
}

namespace {

QString decodeWith(const std::string &charset, const QByteArray &bytes)
{
    Converter conv(utf16Name(), charset.c_str());
    if (!conv.ok())
        return QString::fromLatin1(bytes);  // not expected: listFileCharset() checked it
    // One input byte never gives more than two UTF-16 units.
    QString text(bytes.size() * 2, Qt::Uninitialized);
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char *outStart = reinterpret_cast<char *>(text.data());
    char *out = outStart;
    size_t outLeft = static_cast<size_t>(text.size()) * sizeof(char16_t);
    while (inLeft > 0) {
        if (conv.convert(&in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno != EILSEQ && errno != EINVAL)
            break;
        // A byte the character set leaves undefined: keep it as the character of the same
        // value, which writing turns back into the byte.
        const char16_t c = static_cast<unsigned char>(*in);
        std::memcpy(out, &c, sizeof c);
        out += sizeof c;
        outLeft -= sizeof c;
        ++in;
        --inLeft;
    }
    text.truncate(static_cast<qsizetype>((out - outStart) / sizeof(char16_t)));
    return text;
}

QByteArray encodeWith(const std::string &charset, QStringView text)
{
    Converter conv(charset.c_str(), utf16Name());
    if (!conv.ok())
        return text.toLatin1();  // not expected: listFileCharset() checked it
    QByteArray bytes;
    // Generous for single-byte sets; grown below for others.
    bytes.resize(text.size() + 16);
    char *in = reinterpret_cast<char *>(const_cast<QChar *>(text.data()));
    size_t inLeft = static_cast<size_t>(text.size()) * sizeof(char16_t);
    qsizetype used = 0;
    while (inLeft > 0) {
        char *out = bytes.data() + used;
        size_t outLeft = static_cast<size_t>(bytes.size() - used);
        const size_t rc = conv.convert(&in, &inLeft, &out, &outLeft);
        used = out - bytes.data();
        if (rc != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG) {
            bytes.resize(bytes.size() * 2);
            continue;
        }
        // Not representable: a control character 0x80-0x9F goes back to its byte (see
        // decodeWith), anything else becomes '?'. A surrogate pair counts as one.
        char16_t c;
        std::memcpy(&c, in, sizeof c);
        size_t units = 1;
        if (QChar::isHighSurrogate(c) && inLeft >= 2 * sizeof(char16_t)) {
            char16_t low;
            std::memcpy(&low, in + sizeof c, sizeof low);
            if (QChar::isLowSurrogate(low))
                units = 2;
        }
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        bytes[used++] = (c >= 0x80 && c <= 0x9F) ? static_cast<char>(c) : '?';
        in += units * sizeof(char16_t);
        inLeft -= units * sizeof(char16_t);
    }
    // Ends a stateful character set in its initial shift state.
    for (;;) {
        char *out = bytes.data() + used;
        size_t outLeft = static_cast<size_t>(bytes.size() - used);
        const size_t rc = conv.convert(nullptr, nullptr, &out, &outLeft);
        used = out - bytes.data();
        if (rc != static_cast<size_t>(-1) || errno != E2BIG)
            break;
        bytes.resize(bytes.size() * 2);
    }
    bytes.truncate(used);
    return bytes;
}

}  // namespace

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *out++ = (b >= 0x80 && b <= 0x9F) ? Cp1252High[b - 0x80] : b;
    }
    return text;
}

QString decodeUtf8Line(QByteArrayView line)
{
    if (!line.isValidUtf8())
        return decodeWindows1252(line);
    // fromUtf8 would drop a byte-order mark at the start; here it is part of the item.
    if (line.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder decoder(QStringDecoder::Utf8,
                               QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        return decoder(line);
    }
    return QString::fromUtf8(line);
}

QString decodeInCharset(const std::string &charset, const QByteArray &bytes)
{
    // Text in a single-byte character set practically never is valid UTF-8 with
    // characters beyond ASCII; the reply templates delivered with the program are.
    const bool beyondAscii = std::any_of(bytes.cbegin(), bytes.cend(), [](char c) { return c & 0x80; });
    if (beyondAscii && QByteArrayView(bytes).isValidUtf8())
        return decodeUtf8Line(bytes);
    return decodeWith(charset, bytes);
}

ListTextEncoder::ListTextEncoder(qsizetype expectedLength)
    : charset_(listFileCharset()), utf8_(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless)
{
    if (charset_.empty())
        bytes_.resize(expectedLength + expectedLength / 4 + 16);
    else
        pending_.reserve(expectedLength);
}

void ListTextEncoder::appendLine(QStringView text)
{
    if (!charset_.empty()) {
        pending_ += text;
        pending_ += QLatin1String("\r\n");
        return;
    }
    const qsizetype needed = used_ + utf8_.requiredSpace(text.size()) + 2;
    if (needed > bytes_.size())
        bytes_.resize(std::max(needed, bytes_.size() * 2));
    char *const start = bytes_.data() + used_;
    char *out = start;
    // Most items are plain ASCII, which is copied as it is; Qt's encoder does the rest.
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            out = utf8_.appendToBuffer(start, text);
            break;
        }
        *out++ = static_cast<char>(c.unicode());
    }
    *out++ = '\r';
    *out++ = '\n';
    used_ = out - bytes_.data();
}

QByteArray ListTextEncoder::finish()
{
    if (!charset_.empty())
        return encodeWith(charset_, pending_);
    bytes_.truncate(used_);
    return std::move(bytes_);
}

}  // namespace rowkit
