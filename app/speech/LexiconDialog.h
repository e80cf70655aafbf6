// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The speech engine's lexicon dialog: the user's pronunciations in a table, with fields
// to add a word and how to say it, change one, remove one, and listen to a pronunciation.
// The dialog edits a copy; OK hands the copy to the saver and closes only when it saved.

#include "speech/Lexicon.h"

#include <QDialog>

#include <functional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace jabbly {

class LexiconDialog : public QDialog {
    Q_OBJECT
public:
    // Stores the edited lexicon; throws Error when it cannot.
    using Saver = std::function<void(const Lexicon &)>;
    // Says a pronunciation aloud; throws Error when it cannot.
    using Listener = std::function<void(const QString &)>;

    explicit LexiconDialog(const Lexicon &lexicon, QWidget *owner = nullptr);

    void setSaver(Saver saver) { saver_ = std::move(saver); }
    void setListener(Listener listener);
    // A warning shown above the table, e.g. why the stored pronunciations could not be read.
    void setProblem(const QString &text);

    const Lexicon &lexicon() const { return lexicon_; }

    void accept() override;

private:
    void refill(const QString &select = {});
    void rowChosen();
    void fieldsEdited();
    void addOrChange();
    void removeChosen();
    void listen();
    void report(const QString &message);

    Lexicon lexicon_;
    Saver saver_;
    Listener listener_;

    QLabel *problem_;
    QTableWidget *table_;
    QLineEdit *word_;
    QLineEdit *sayAs_;
    QPushButton *add_;
    QPushButton *remove_;
    QPushButton *listen_;
    QDialogButtonBox *buttons_;
};

}  // namespace jabbly
