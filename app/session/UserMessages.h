#pragma once
// The program's message boxes, behind an interface so that tests can answer them.

#include <QString>

class QWidget;

namespace jabbly {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void critical(QWidget *parent, const QString &title, const QString &text) = 0;
    virtual void information(QWidget *parent, const QString &title, const QString &text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool question(QWidget *parent, const QString &title, const QString &text) = 0;
};

class QtMessageBoxes : public MessageBoxes {
public:
    void critical(QWidget *parent, const QString &title, const QString &text) override;
    void information(QWidget *parent, const QString &title, const QString &text) override;
    bool question(QWidget *parent, const QString &title, const QString &text) override;
};

}  // namespace jabbly
