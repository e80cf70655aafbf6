// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace jabbly {

void centreOnScreen(QWidget &window)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

void centreOver(QWidget &window, const QWidget &owner)
{
    QRect frame = window.frameGeometry();
    if (frame == window.geometry()) {
        // Not framed yet (never shown): the window manager will give it a frame like its
        // owner's.
        const QRect ownerFrame = owner.frameGeometry();
        const QRect ownerClient = owner.geometry();
        frame = frame.marginsAdded(
            QMargins(ownerClient.left() - ownerFrame.left(), ownerClient.top() - ownerFrame.top(),
                     ownerFrame.right() - ownerClient.right(), ownerFrame.bottom() - ownerClient.bottom()));
    }
    frame.moveCenter(owner.frameGeometry().center());
    if (const QScreen *screen = owner.screen()) {
        const QRect room = screen->availableGeometry();
        frame.moveRight(std::min(frame.right(), room.right()));
        frame.moveBottom(std::min(frame.bottom(), room.bottom()));
        frame.moveLeft(std::max(frame.left(), room.left()));
        frame.moveTop(std::max(frame.top(), room.top()));
    }
    window.move(frame.topLeft());
}

}  // namespace jabbly
