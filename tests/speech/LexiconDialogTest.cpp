// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The lexicon dialog, on Qt's offscreen platform: shown by the engine as a modal dialog of
// the given window, and edited through its fields and buttons as a user would.

#include "speech/LexiconDialog.h"
#include "SpeechTesting.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using jabbly::Error;
using jabbly::Lexicon;
using jabbly::LexiconDialog;
using speech_test::TestEngine;

namespace {

struct Parts {
    QTableWidget *table;
    QLineEdit *word;
    QLineEdit *sayAs;
    QPushButton *add;
    QPushButton *remove;
    QPushButton *listen;
    QPushButton *ok;
    QPushButton *cancel;
};

Parts partsOf(QWidget *dialog)
{
    auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttons"));
    return {dialog->findChild<QTableWidget *>(QStringLiteral("entries")),
            dialog->findChild<QLineEdit *>(QStringLiteral("word")),
            dialog->findChild<QLineEdit *>(QStringLiteral("sayAs")),
            dialog->findChild<QPushButton *>(QStringLiteral("add")),
            dialog->findChild<QPushButton *>(QStringLiteral("remove")),
            dialog->findChild<QPushButton *>(QStringLiteral("listen")),
            buttons ? buttons->button(QDialogButtonBox::Ok) : nullptr,
            buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr};
}

QStringList rowsOf(const QTableWidget *table)
{
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r)
        rows << table->item(r, 0)->text() + u'=' + table->item(r, 1)->text();
    return rows;
}

void type(QLineEdit *field, const QString &text)
{
    field->clear();
    QTest::keyClicks(field, text);
}

// Runs `user` against the modal dialog once it is up; closes whatever is modal if the
// user's part did not, so that a failing test cannot leave the dialog open forever.
void whenModal(const std::function<void(QWidget *)> &user)
{
    QTimer::singleShot(0, [user] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            ADD_FAILURE() << "no modal dialog is up";
            return;
        }
        user(modal);
        if (modal->isVisible())
            modal->close();
    });
}

}  // namespace

TEST(LexiconDialog, TheEngineShowsItModalForItsOwnerAndSavesOnOk)
{
    TestEngine t;
    QWidget owner;
    owner.show();
    bool ran = false;
    whenModal([&](QWidget *modal) {
        ran = true;
        EXPECT_TRUE(qobject_cast<LexiconDialog *>(modal));
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Jabbly - Lexicon Dialog"));
        EXPECT_EQ(modal->parentWidget(), &owner);
        EXPECT_TRUE(modal->isModal());
        const Parts p = partsOf(modal);
        ASSERT_TRUE(p.table && p.word && p.sayAs && p.add && p.ok);

        type(p.word, QStringLiteral("Jabbly"));
        type(p.sayAs, QStringLiteral("jab lee"));
        QTest::mouseClick(p.add, Qt::LeftButton);
        // Enter in a field adds too, and does not close the dialog.
        type(p.word, QStringLiteral("GIF"));
        type(p.sayAs, QStringLiteral("jif"));
        QTest::keyClick(p.sayAs, Qt::Key_Return);
        EXPECT_TRUE(modal->isVisible());
        EXPECT_EQ(rowsOf(p.table), (QStringList{"GIF=jif", "Jabbly=jab lee"}));
        QTest::mouseClick(p.ok, Qt::LeftButton);
        EXPECT_FALSE(modal->isVisible());
    });

    t.engine->LexiconDlg(&owner, QStringLiteral("Jabbly - Lexicon Dialog"));

    EXPECT_TRUE(ran);
    EXPECT_EQ(t.engine->spokenText(QStringLiteral("Jabbly, a gif")), QStringLiteral("jab lee, a jif"));
    Lexicon saved;
    saved.load(t.engine->lexiconFile());
    EXPECT_EQ(saved, t.engine->lexicon());
    EXPECT_EQ(saved.size(), 2);
}

TEST(LexiconDialog, CancelKeepsWhatWasStored)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("lexicon.json"));
    Lexicon stored;
    stored.set(QStringLiteral("Qt"), QStringLiteral("cute"));
    stored.save(file);
    TestEngine t(file);

    whenModal([&](QWidget *modal) {
        const Parts p = partsOf(modal);
        ASSERT_TRUE(p.table && p.remove && p.cancel);
        p.table->selectRow(0);
        QTest::mouseClick(p.remove, Qt::LeftButton);
        EXPECT_EQ(p.table->rowCount(), 0);
        QTest::mouseClick(p.cancel, Qt::LeftButton);
    });
    t.engine->LexiconDlg(nullptr, QStringLiteral("Lexicon"));

    EXPECT_EQ(t.engine->lexicon(), stored);
    Lexicon onDisk;
    onDisk.load(file);
    EXPECT_EQ(onDisk, stored);
}

TEST(LexiconDialog, RowsFillTheFieldsAndTheButtonsFollow)
{
    Lexicon l;
    l.set(QStringLiteral("Qt"), QStringLiteral("cute"));
    l.set(QStringLiteral("SQL"), QStringLiteral("sequel"));
    LexiconDialog d(l);
    QStringList heard;
    d.setListener([&](const QString &text) { heard << text; });
    d.show();
    const Parts p = partsOf(&d);
    ASSERT_TRUE(p.table && p.word && p.sayAs && p.add && p.remove && p.listen);

    EXPECT_EQ(rowsOf(p.table), (QStringList{"Qt=cute", "SQL=sequel"}));
    EXPECT_FALSE(p.remove->isEnabled());
    EXPECT_FALSE(p.add->isEnabled());

    // Choosing a row puts it in the fields; the word is known, so the button changes it.
    p.table->selectRow(1);
    EXPECT_EQ(p.word->text(), QStringLiteral("SQL"));
    EXPECT_EQ(p.sayAs->text(), QStringLiteral("sequel"));
    EXPECT_TRUE(p.remove->isEnabled());
    EXPECT_TRUE(p.add->text().contains(QStringLiteral("Chan")));
    type(p.sayAs, QStringLiteral("ess queue ell"));
    QTest::mouseClick(p.add, Qt::LeftButton);
    EXPECT_EQ(rowsOf(p.table), (QStringList{"Qt=cute", "SQL=ess queue ell"}));

    // Listening says the pronunciation in the field.
    QTest::mouseClick(p.listen, Qt::LeftButton);
    EXPECT_EQ(heard, QStringList{"ess queue ell"});

    // A new word in other letters is still the same word; no pronunciation, no adding.
    type(p.word, QStringLiteral("qt"));
    EXPECT_TRUE(p.add->text().contains(QStringLiteral("Chan")));
    type(p.word, QStringLiteral("Linux"));
    EXPECT_FALSE(p.add->text().contains(QStringLiteral("Chan")));
    p.sayAs->clear();
    EXPECT_FALSE(p.add->isEnabled());
    EXPECT_FALSE(p.listen->isEnabled());

    p.table->selectRow(0);
    QTest::mouseClick(p.remove, Qt::LeftButton);
    EXPECT_EQ(rowsOf(p.table), QStringList{"SQL=ess queue ell"});
    EXPECT_EQ(d.lexicon().size(), 1);
    EXPECT_TRUE(p.word->text().isEmpty());
}

TEST(LexiconDialog, AFailedSaveSaysWhyAndKeepsTheEdits)
{
    Lexicon l;
    l.set(QStringLiteral("Qt"), QStringLiteral("cute"));
    LexiconDialog d(l);
    int attempts = 0;
    d.setSaver([&](const Lexicon &) {
        ++attempts;
        throw Error(jabbly::err::DiskFull, QStringLiteral("The disk is full."));
    });
    d.setWindowTitle(QStringLiteral("Lexicon"));
    d.show();
    const Parts p = partsOf(&d);
    ASSERT_TRUE(p.ok);

    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    QTest::mouseClick(p.ok, Qt::LeftButton);

    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(shown, QStringLiteral("The disk is full."));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(d.lexicon(), l);
}
