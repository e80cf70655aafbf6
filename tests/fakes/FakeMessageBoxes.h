#pragma once
// Message boxes that record what they were asked to show and answer questions as told.

#include "MessageBoxes.h"

#include <QStringList>

namespace jabbly::testing {

class FakeMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        QString kind;
        QString title;
        QString text;
    };

    void critical(QWidget *, const QString &title, const QString &text) override { shown.append({"critical", title, text}); }
    void information(QWidget *, const QString &title, const QString &text) override
    {
        shown.append({"information", title, text});
    }
    bool question(QWidget *, const QString &title, const QString &text) override
    {
        shown.append({"question", title, text});
        return answerYes;
    }

    QList<Shown> shown;
    bool answerYes = false;
};

}  // namespace jabbly::testing
