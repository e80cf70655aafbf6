// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Random(Lowerbound, Upperbound): 16-bit bounds, both included.
#include "conversation/RandomGenerator.h"
#include "ErrorNumber.h"
#include "ScriptedRandom.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace jabbly;
using jabbly::testing::errorNumber;
using jabbly::testing::ScriptedRandom;

namespace {

const float LargestDraw = std::nextafter(1.0f, 0.0f);

TEST(Random, EndsOfTheDrawGiveTheBounds)
{
    struct Case {
        int16_t lower, upper;
    };
    for (const Case c : {Case{1, 10000}, Case{0, 32766}, Case{-16384, 16382}, Case{-5, 5}, Case{7, 7}, Case{-32768, -2},
                         Case{32766, 32766}}) {
        ScriptedRandom rnd;
        rnd.script = {0.0f, LargestDraw};
        EXPECT_EQ(rnd.Random(c.lower, c.upper), c.lower) << c.lower << ".." << c.upper;
        EXPECT_EQ(rnd.Random(c.lower, c.upper), c.upper) << c.lower << ".." << c.upper;
    }
}

TEST(Random, EmptyRangeGivesZero)
{
    ScriptedRandom rnd;
    rnd.script = {0.0f, 0.5f, LargestDraw};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(rnd.Random(0, -1), 0.0f);
    EXPECT_EQ(rnd.draws, 3);
}

TEST(Random, SpanThatDoesNotFitIn16BitsIsAnOverflow)
{
    ScriptedRandom rnd;
    // Upper - Lower + 1 = 32768 once the 1 is added, or already out of range before it.
    EXPECT_EQ(errorNumber([&] { rnd.Random(0, 32767); }), 6);
    EXPECT_EQ(errorNumber([&] { rnd.Random(-1, 32767); }), 6);
    EXPECT_EQ(errorNumber([&] { rnd.Random(-32768, 32767); }), 6);
    EXPECT_EQ(errorNumber([&] { rnd.Random(1, -32768); }), 6);
    EXPECT_EQ(rnd.draws, 0);
    // The largest spans that fit.
    EXPECT_EQ(errorNumber([&] { rnd.Random(0, 32766); }), 0);
    EXPECT_EQ(errorNumber([&] { rnd.Random(-32768, -2); }), 0);
    EXPECT_EQ(errorNumber([&] { rnd.Random(0, -32767); }), 0);
}

TEST(Random, ResultIsAWholeNumberInSinglePrecision)
{
    ScriptedRandom rnd;
    rnd.script = {0.37f, 0.99f, 0.123456f};
    for (int i = 0; i < 3; ++i) {
        const float v = rnd.Random(-100, 1000);
        EXPECT_EQ(v, std::floor(v));
    }
    // floor(span * r + Lowerbound) from single-precision operands.
    ScriptedRandom again;
    again.script = {0.37f};
    EXPECT_EQ(again.Random(-100, 1000), std::floor(1101.0 * double(0.37f) - 100.0));
}

TEST(Random, SameSeedSameSequenceOtherSeedOtherSequence)
{
    RandomGenerator a(42), b(42), c(43);
    int differences = 0;
    for (int i = 0; i < 50; ++i) {
        const float va = a.Random(0, 9999);
        EXPECT_EQ(va, b.Random(0, 9999));
        differences += va != c.Random(0, 9999);
    }
    EXPECT_GT(differences, 40);
}

TEST(Random, DrawsAreUniformOverTheWholeRange)
{
    RandomGenerator rnd(7);
    std::array<int, 6> counts{};
    const int n = 60000;
    for (int i = 0; i < n; ++i) {
        const int v = rnd.RandomInt(1, 6);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 6);
        ++counts[v - 1];
    }
    // Chi-square with 5 degrees of freedom; 20.5 is the 0.1 % point.
    double chi = 0;
    for (int count : counts)
        chi += std::pow(count - n / 6.0, 2) / (n / 6.0);
    EXPECT_LT(chi, 20.5);
}

TEST(Random, ClockSeededGeneratorsStayInRange)
{
    RandomGenerator rnd;
    for (int i = 0; i < 1000; ++i) {
        const float v = rnd.Random(-3, 3);
        EXPECT_GE(v, -3.0f);
        EXPECT_LE(v, 3.0f);
    }
}

}  // namespace
