#pragma once
// A transcript for tests: records every write, in order, with its writer.

#include "Transcript.h"

#include <QList>
#include <QStringList>

namespace jabbly::testing {

class RecordingTranscript : public Transcript {
public:
    enum Writer { Command, Name, SayPerson, SayCPU };
    struct Write {
        Writer writer;
        QString text;
        bool operator==(const Write &) const = default;
    };

    void insCommand(const QString &text) override { writes.append({Command, text}); }
    void insName(const QString &text) override { writes.append({Name, text}); }
    void insSayPerson(const QString &text) override { writes.append({SayPerson, text}); }
    void insSayCPU(const QString &text) override { writes.append({SayCPU, text}); }

    QStringList texts(Writer writer) const
    {
        QStringList out;
        for (const Write &w : writes)
            if (w.writer == writer)
                out.append(w.text);
        return out;
    }

    QList<Write> writes;
};

}  // namespace jabbly::testing
