// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A transcript for tests: records every write, in order, with its writer, and the batches
// the writes were grouped in.

#include "conversation/Transcript.h"

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

    void insCommand(const QString &text) override { record({Command, text}); }
    void insName(const QString &text) override { record({Name, text}); }
    void insSayPerson(const QString &text) override { record({SayPerson, text}); }
    void insSayCPU(const QString &text) override { record({SayCPU, text}); }

    QStringList texts(Writer writer) const
    {
        QStringList out;
        for (const Write &w : writes)
            if (w.writer == writer)
                out.append(w.text);
        return out;
    }

    QList<Write> writes;
    // For each write, how many batches were open when it was made.
    QList<int> batchDepths;
    int openBatches = 0;
    int batchesEnded = 0;

protected:
    void beginBatch() override { ++openBatches; }
    void endBatch() override
    {
        --openBatches;
        ++batchesEnded;
    }

private:
    void record(const Write &write)
    {
        writes.append(write);
        batchDepths.append(openBatches);
    }
};

}  // namespace jabbly::testing
