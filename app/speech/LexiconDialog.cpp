// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/LexiconDialog.h"

#include "jabbly/error.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace jabbly {

LexiconDialog::LexiconDialog(const Lexicon &lexicon, QWidget *owner) : QDialog(owner), lexicon_(lexicon)
{
    setModal(true);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setWordWrap(true);
    problem_->setVisible(false);

    table_ = new QTableWidget(0, 2, this);
    table_->setObjectName(QStringLiteral("entries"));
    table_->setHorizontalHeaderLabels({tr("Word"), tr("Say it as")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setVisible(false);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    word_ = new QLineEdit(this);
    word_->setObjectName(QStringLiteral("word"));
    word_->setMaxLength(Lexicon::MaxLength);
    sayAs_ = new QLineEdit(this);
    sayAs_->setObjectName(QStringLiteral("sayAs"));
    sayAs_->setMaxLength(Lexicon::MaxLength);
    auto *form = new QFormLayout;
    form->addRow(tr("&Word:"), word_);
    form->addRow(tr("Say it &as:"), sayAs_);

    add_ = new QPushButton(tr("A&dd"), this);
    add_->setObjectName(QStringLiteral("add"));
    remove_ = new QPushButton(tr("&Remove"), this);
    remove_->setObjectName(QStringLiteral("remove"));
    listen_ = new QPushButton(tr("&Listen"), this);
    listen_->setObjectName(QStringLiteral("listen"));
    listen_->setVisible(false);
    auto *actions = new QHBoxLayout;
    actions->addWidget(add_);
    actions->addWidget(remove_);
    actions->addWidget(listen_);
    actions->addStretch();

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->setObjectName(QStringLiteral("buttons"));
    // Enter in a field adds the word; only the OK button itself closes the dialog.
    buttons_->button(QDialogButtonBox::Ok)->setAutoDefault(false);
    buttons_->button(QDialogButtonBox::Cancel)->setAutoDefault(false);
    add_->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(problem_);
    layout->addWidget(table_, 1);
    layout->addLayout(form);
    layout->addLayout(actions);
    layout->addWidget(buttons_);
    resize(420, 360);

    connect(table_, &QTableWidget::itemSelectionChanged, this, &LexiconDialog::rowChosen);
    connect(word_, &QLineEdit::textChanged, this, &LexiconDialog::fieldsEdited);
    connect(sayAs_, &QLineEdit::textChanged, this, &LexiconDialog::fieldsEdited);
    connect(add_, &QPushButton::clicked, this, &LexiconDialog::addOrChange);
    connect(remove_, &QPushButton::clicked, this, &LexiconDialog::removeChosen);
    connect(listen_, &QPushButton::clicked, this, &LexiconDialog::listen);
    connect(buttons_, &QDialogButtonBox::accepted, this, &LexiconDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &LexiconDialog::reject);

    refill();
    fieldsEdited();
}

void LexiconDialog::setListener(Listener listener)
{
    listener_ = std::move(listener);
    listen_->setVisible(static_cast<bool>(listener_));
    fieldsEdited();
}

void LexiconDialog::setProblem(const QString &text)
{
    problem_->setText(text);
    problem_->setVisible(!text.isEmpty());
}

void LexiconDialog::refill(const QString &select)
{
    const QSignalBlocker quiet(table_);
    table_->clearContents();
    table_->setRowCount(lexicon_.size());
    int selectRow = -1;
    for (int row = 0; row < lexicon_.size(); ++row) {
        const Lexicon::Entry &e = lexicon_.entries().at(row);
        table_->setItem(row, 0, new QTableWidgetItem(e.word));
        table_->setItem(row, 1, new QTableWidgetItem(e.sayAs));
        if (!select.isEmpty() && e.word.compare(select, Qt::CaseInsensitive) == 0)
            selectRow = row;
    }
    table_->clearSelection();
    if (selectRow >= 0) {
        table_->selectRow(selectRow);
        table_->scrollToItem(table_->item(selectRow, 0));
    }
    remove_->setEnabled(selectRow >= 0);
}

void LexiconDialog::rowChosen()
{
    const QList<QTableWidgetItem *> chosen = table_->selectedItems();
    remove_->setEnabled(!chosen.isEmpty());
    if (chosen.isEmpty())
        return;
    const int row = chosen.first()->row();
    word_->setText(table_->item(row, 0)->text());
    sayAs_->setText(table_->item(row, 1)->text());
}

void LexiconDialog::fieldsEdited()
{
    const bool known = !lexicon_.sayAs(word_->text()).isEmpty();
    add_->setText(known ? tr("Chan&ge") : tr("A&dd"));
    add_->setEnabled(!word_->text().trimmed().isEmpty() && !sayAs_->text().trimmed().isEmpty());
    listen_->setEnabled(!sayAs_->text().trimmed().isEmpty());
}

void LexiconDialog::addOrChange()
{
    if (!add_->isEnabled())
        return;
    try {
        lexicon_.set(word_->text(), sayAs_->text());
    } catch (const Error &error) {
        report(error.message());
        return;
    }
    refill(word_->text().trimmed());
    fieldsEdited();
}

void LexiconDialog::removeChosen()
{
    const QList<QTableWidgetItem *> chosen = table_->selectedItems();
    if (chosen.isEmpty())
        return;
    lexicon_.remove(table_->item(chosen.first()->row(), 0)->text());
    word_->clear();
    sayAs_->clear();
    refill();
}

void LexiconDialog::listen()
{
    if (!listener_ || sayAs_->text().trimmed().isEmpty())
        return;
    try {
        listener_(sayAs_->text().trimmed());
    } catch (const Error &error) {
        report(error.message());
    }
}

void LexiconDialog::report(const QString &message) { QMessageBox::warning(this, windowTitle(), message); }

void LexiconDialog::accept()
{
    if (saver_) {
        try {
            saver_(lexicon_);
        } catch (const Error &error) {
            // The edits stay in the dialog: the user may try again or cancel.
            report(error.message());
            return;
        }
    }
    QDialog::accept();
}

}  // namespace jabbly
