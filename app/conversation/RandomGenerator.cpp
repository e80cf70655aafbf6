// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversation/RandomGenerator.h"

#include "jabbly/error.h"

#include <QString>

#include <chrono>
#include <cmath>
#include <limits>

namespace jabbly {

namespace {

uint32_t clockSeed()
{
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return static_cast<uint32_t>(ticks ^ (ticks >> 32));
}

bool fitsInt16(int value)
{
    return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

}  // namespace

RandomGenerator::RandomGenerator() : engine_(clockSeed()) {}

RandomGenerator::RandomGenerator(uint32_t seed) : engine_(seed) {}

float RandomGenerator::Rnd()
{
    // 24 random bits: every value is exact in a float and the largest is 1 - 2^-24.
    return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f);
}

float RandomGenerator::Random(int16_t Lowerbound, int16_t Upperbound)
{
    // Upperbound - Lowerbound + 1, each step in 16 bits.
    const int difference = int{Upperbound} - int{Lowerbound};
    const int span = difference + 1;
    if (!fitsInt16(difference) || !fitsInt16(span))
        throw Error(err::Overflow, QStringLiteral("Overflow"));
    const float r = Rnd();
    // The operands are single precision, the sum is taken in double: in float, span * r +
    // Lowerbound can round up to Upperbound + 1 when r is close to 1.
    return static_cast<float>(std::floor(static_cast<double>(static_cast<float>(span)) * static_cast<double>(r) +
                                         static_cast<double>(static_cast<float>(Lowerbound))));
}

}  // namespace jabbly
