// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A random generator for tests: Random's arithmetic is the real one, but each draw r comes
// from a script (0 once the script is used up), and the draws are counted.

#include "conversation/RandomGenerator.h"

#include <QList>

namespace jabbly::testing {

class ScriptedRandom : public RandomGenerator {
public:
    ScriptedRandom() : RandomGenerator(1u) {}

    // The draw r that makes Random(0, count - 1) give `index`.
    static float pick(int index, int count) { return (static_cast<float>(index) + 0.5f) / static_cast<float>(count); }
    // The draw r that makes Random(1, 10000) give `number`.
    static float number(int number) { return (static_cast<float>(number) - 0.5f) / 10000.0f; }

    QList<float> script;
    int draws = 0;

protected:
    float Rnd() override
    {
        const int at = draws++;
        return at < script.size() ? script[at] : 0.0f;
    }
};

}  // namespace jabbly::testing
