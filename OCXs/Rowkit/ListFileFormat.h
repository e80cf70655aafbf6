#pragma once
// The list file's lines. CR LF or a lone CR ends a line; a lone LF is part of the item.
// Nothing is trimmed. The last line needs no line end, and a line end at the very end of
// the file does not start another, empty item. Written, every item is followed by CR LF.

#include "jabbly/itemlist.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace rowkit {

// The items of a list file's bytes, decoded as ListCharset.h says; at most `maxItems`
// of them (the rest is not split).
QStringList decodeListFile(const QByteArray &bytes, qsizetype maxItems);

// The bytes of a list file holding the list's items, in the locale's character set
// (see ListCharset.h).
QByteArray encodeListFile(const jabbly::ItemList &list);

}  // namespace rowkit
