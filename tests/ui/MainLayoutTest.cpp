// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainLayout.h"

#include <gtest/gtest.h>

using jabbly::MainLayout;
using jabbly::TwipRect;

TEST(MainLayout, DesignSizeGivesTheDesignedBottomRow)
{
    MainLayout l;
    l.Form_Resize(7230, 5250, false);
    EXPECT_EQ(l.WW, (TwipRect{0, 0, 7230, 4875}));
    EXPECT_EQ(l.Name1, (TwipRect{0, 4875, 1695, 285}));
    EXPECT_EQ(l.Say1, (TwipRect{1695, 4875, 4920, 285}));
    EXPECT_EQ(l.cmdSay, (TwipRect{6615, 4875, 615, 375}));
}

TEST(MainLayout, MinimisedWindowMovesNothingAndRestoringLaysOutAgain)
{
    MainLayout l;
    l.Form_Resize(7230, 5250, false);
    const MainLayout before = l;
    l.Form_Resize(0, 0, true);
    EXPECT_EQ(l.WW, before.WW);
    EXPECT_EQ(l.Say1, before.Say1);
    l.Form_Resize(9000, 6000, false);
    EXPECT_EQ(l.WW, (TwipRect{0, 0, 9000, 5625}));
    EXPECT_EQ(l.Say1, (TwipRect{1695, 5625, 6690, 285}));
}

TEST(MainLayout, FailedStepsLeaveTheRestAsTheLastLayoutLeftIt)
{
    MainLayout l;
    l.Form_Resize(7230, 5250, false);

    // Lower than the button: the very first step fails, nothing moves.
    const MainLayout tall = l;
    l.Form_Resize(5000, 374, false);
    EXPECT_EQ(l.WW, tall.WW);
    EXPECT_EQ(l.cmdSay, tall.cmdSay);
    EXPECT_EQ(l.Say1, tall.Say1);
    EXPECT_EQ(l.Name1, tall.Name1);

    // Narrower than name box plus button: everything up to the input box's left moves,
    // the input box keeps its width and top.
    l.Form_Resize(2000, 3000, false);
    EXPECT_EQ(l.WW, (TwipRect{0, 0, 2000, 2625}));
    EXPECT_EQ(l.cmdSay, (TwipRect{1385, 2625, 615, 375}));
    EXPECT_EQ(l.Name1.top, 2625);
    EXPECT_EQ(l.Say1, (TwipRect{1695, 4875, 4920, 285}));

    // Exactly wide enough: an input box of width 0 is no failure.
    l.Form_Resize(2310, 375, false);
    EXPECT_EQ(l.WW.height, 0);
    EXPECT_EQ(l.Say1, (TwipRect{1695, 0, 0, 285}));

    // A negative left or top is allowed.
    l.Form_Resize(100, 400, false);
    EXPECT_EQ(l.cmdSay.left, -515);
}
