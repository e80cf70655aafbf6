// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainLayout.h"

namespace jabbly {

void MainLayout::Form_Resize(int w, int h, bool minimised)
{
    if (minimised)
        return;
    const int transcriptHeight = h - cmdSay.height;
    if (transcriptHeight < 0)
        return;
    WW.height = transcriptHeight;
    WW.width = w;
    cmdSay.left = w - cmdSay.width;
    cmdSay.top = h - cmdSay.height;
    Name1.top = WW.height;
    Say1.left = Name1.width;
    const int inputWidth = w - (Name1.width + cmdSay.width);
    if (inputWidth < 0)
        return;
    Say1.width = inputWidth;
    Say1.top = WW.height;
}

}  // namespace jabbly
