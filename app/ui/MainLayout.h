// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's resize rule, in twips (15 twips to a device-independent pixel), and
// the one conversion between twips and pixels.
// Kept apart from the widgets so it can be checked number by number.

#include <QRect>

namespace jabbly {

inline constexpr int TwipsPerPixel = 15;
constexpr int toPixels(int twips) { return twips / TwipsPerPixel; }
constexpr int toTwips(int pixels) { return pixels * TwipsPerPixel; }

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TwipRect &) const = default;
};

inline QRect toPixels(const TwipRect &r)
{
    return {toPixels(r.left), toPixels(r.top), toPixels(r.width), toPixels(r.height)};
}

struct MainLayout {
    // Design positions of the four laid-out controls.
    TwipRect WW{0, 0, 1455, 735};
    TwipRect Name1{0, 4560, 1695, 285};
    TwipRect Say1{840, 4560, 5295, 285};
    TwipRect cmdSay{6600, 4440, 615, 375};

    // Lays the controls out for a client area of w by h twips. A step that would give a
    // control a negative width or height ends the layout there, leaving the later steps
    // undone; a minimised window is left alone.
    void Form_Resize(int w, int h, bool minimised);
};

// The client area the window opens with.
inline constexpr int DesignClientWidth = 7230;
inline constexpr int DesignClientHeight = 5250;

}  // namespace jabbly
