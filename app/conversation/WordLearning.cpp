#include "WordLearning.h"

#include "Components.h"
#include "jabbly/error.h"

namespace jabbly {

WordLearning::WordLearning(ItemList &HidWord, ListSource lstAI, Rowkit &rowkit)
    : HidWord_(HidWord), lstAI_(std::move(lstAI)), rowkit_(rowkit)
{
}

QString WordLearning::cleanLine(const QString &line)
{
    QString text = line;
    text.remove(QStringLiteral("'s"));

    // One pass does what replacing the characters one after another would: no replacement
    // produces a character that a later one would touch.
    QString out;
    out.reserve(text.size());
    for (const QChar c : std::as_const(text)) {
        switch (c.unicode()) {
        case u'\'': case u'"': case u'.': case u',':
        case u'\\': case u'[': case u']': case u'?': case u'!': case u':': case u';':
        case u'#': case u'(': case u')': case u'<': case u'>': case u'{': case u'}':
        case u'@': case u'*':
            break;
        case u'/':
            out.append(u' ');
            break;
        default:
            out.append(c);
        }
    }
    return out;
}

WordLearning::Result WordLearning::learn(const QString &line)
{
    Result result;
    const QString text = cleanLine(line);
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u' ', start);
        if (end < 0)
            end = text.size();
        if (end > start) {
            const QString piece = text.mid(start, end - start);
            if (rowkit_.ListFindExact(HidWord_, piece) == -1) {
                if (HidWord_.ListCount() >= ItemList::MaxItems) {
                    ++result.notLearned;
                } else {
                    HidWord_.AddItem(piece);
                    ++result.added;
                    ItemList &lstAI = lstAI_();
                    // lstAI only shows this run's additions; the word itself is safe in
                    // HidWord even when lstAI has no room left.
                    if (lstAI.ListCount() < ItemList::MaxItems)
                        lstAI.AddItem(piece);
                }
            }
        }
        start = end + 1;
    }
    return result;
}

}  // namespace jabbly
