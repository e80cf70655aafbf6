// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline of the start-up measurement: a bare Qt program that opens one QMainWindow
// with a QTextEdit, nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QTextEdit>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QTextEdit(&window));
    window.resize(482, 375);
    window.show();
    return QApplication::exec();
}
