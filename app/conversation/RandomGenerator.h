// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Random: uniform whole numbers between two 16-bit bounds, drawn from one generator that
// is seeded once, from the clock unless a seed is given.

#include <cstdint>
#include <random>

namespace jabbly {

class RandomGenerator {
public:
    // Seeded from the clock.
    RandomGenerator();
    explicit RandomGenerator(uint32_t seed);
    virtual ~RandomGenerator() = default;
    RandomGenerator(const RandomGenerator &) = delete;
    RandomGenerator &operator=(const RandomGenerator &) = delete;

    // A whole number from Lowerbound to Upperbound, both included, held in a float:
    // floor(span * r + Lowerbound) from single-precision operands, where r is one draw of Rnd() and
    // span = Upperbound - Lowerbound + 1 in 16-bit arithmetic. A span that does not fit in
    // 16 bits throws jabbly::Error 6 (overflow) and draws nothing. Random(0, -1) is 0.
    float Random(int16_t Lowerbound, int16_t Upperbound);

    // Random() as an index or count.
    int RandomInt(int16_t Lowerbound, int16_t Upperbound) { return static_cast<int>(Random(Lowerbound, Upperbound)); }

protected:
    // One draw, uniform in [0, 1), single precision.
    virtual float Rnd();

private:
    std::mt19937 engine_;
};

}  // namespace jabbly
