#pragma once
// The transcript WW: the conversation as coloured text. The conversation engine writes to
// it only through the four writers, which always append at the end.

#include <QColor>
#include <QFont>
#include <QString>

class QTextEdit;

namespace jabbly {

class Transcript {
public:
    virtual ~Transcript() = default;

    // A command's answer: line break, then the text in teal.
    virtual void insCommand(const QString &text) = 0;
    // A speaker's label ("Human: ", "CPU: "): line break, then the text in blue.
    virtual void insName(const QString &text) = 0;
    // The user's words after the label, in red, on the same line.
    virtual void insSayPerson(const QString &text) = 0;
    // The computer's words after the label, in green, on the same line.
    virtual void insSayCPU(const QString &text) = 0;
};

namespace colours {
inline const QColor Command{0, 192, 192};  // #00C0C0, also the version line
inline const QColor Name{0, 0, 255};       // #0000FF
inline const QColor SayPerson{255, 0, 0};  // #FF0000
inline const QColor SayCPU{0, 128, 0};     // #008000
}  // namespace colours

// The program's version as "2.3.10".
QString versionNumber();
// "Jabbly version 2.3.10.  By " + the author credit: the transcript's first line.
QString versionLine();

// The transcript over a QTextEdit that the main window owns. The edit is made read-only
// for typing but stays selectable; each line of the transcript is one paragraph of its
// document.
class TextEditTranscript : public Transcript {
public:
    explicit TextEditTranscript(QTextEdit *edit);

    void insCommand(const QString &text) override;
    void insName(const QString &text) override;
    void insSayPerson(const QString &text) override;
    void insSayCPU(const QString &text) override;

    // The whole text as the program reads it: lines separated by CR LF.
    QString text() const;
    // Length of text(), without building it.
    qsizetype length() const;
    // Empties the transcript; the font set with setTranscriptFont stays in force.
    void clear();
    // Appends the version line in teal, with no line break before it (start-up and Clear,
    // both on an empty transcript).
    void insVersionLine();
    // Sets the font (family, size, bold, italic, ...) of the whole text and of everything
    // written later. Colours are kept.
    void setTranscriptFont(const QFont &font);

    QTextEdit *edit() const { return edit_; }

private:
    void write(const QColor &colour, bool newLine, const QString &text);

    QTextEdit *edit_;
};

}  // namespace jabbly
