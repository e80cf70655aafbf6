// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The transcript WW: the conversation as coloured text. The conversation engine writes to
// it only through the four writers, which always append at the end.

#include <QString>

#include <cstdint>
#include <utility>

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

    // Groups writes, such as those of one turn, so that the transcript can lay its text out
    // and scroll once for the group instead of once for every write. What is written, in
    // which colours and order, is the same with or without a batch. A batch must end before
    // its transcript is destroyed, and before anything that may destroy it runs.
    class Batch {
    public:
        explicit Batch(Transcript &transcript) : transcript_(&transcript) { transcript_->beginBatch(); }
        ~Batch() { end(); }
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

        // Ends the batch now; later calls, and the destructor, do nothing.
        void end()
        {
            if (Transcript *transcript = std::exchange(transcript_, nullptr))
                transcript->endBatch();
        }

    private:
        Transcript *transcript_;
    };

protected:
    // Batches may nest: only the outermost one counts. Neither may throw. A transcript
    // that draws nothing has nothing to gain and keeps these defaults.
    virtual void beginBatch() {}
    virtual void endBatch() {}
};

// A text colour of the transcript, as red, green and blue from 0 to 255.
struct TextColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const TextColour &) const = default;
};

namespace colours {
inline constexpr TextColour Command{0, 192, 192};  // #00C0C0, also the version line
inline constexpr TextColour Name{0, 0, 255};       // #0000FF
inline constexpr TextColour SayPerson{255, 0, 0};  // #FF0000
inline constexpr TextColour SayCPU{0, 128, 0};     // #008000
}  // namespace colours

// The program's version as "2.3.10".
QString versionNumber();
// "Jabbly version 2.3.10.  By " + the author credit: the transcript's first line.
QString versionLine();

}  // namespace jabbly
