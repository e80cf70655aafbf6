#pragma once
// The list file's lines. CR LF or a lone CR ends a line; a lone LF is part of the item.
// Nothing is trimmed. The last line needs no line end, and a line end at the very end of
// the file does not start another, empty item. Written, every item is followed by CR LF.

#include <QString>
#include <QStringList>

namespace rowkit {

// The items of a list file's text, at most `maxItems` of them (the rest is not split).
QStringList splitListLines(const QString &text, qsizetype maxItems);

// The text of a list file holding `items`.
QString joinListLines(const QStringList &items);

}  // namespace rowkit
