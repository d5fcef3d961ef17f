// SPDX-License-Identifier: GPL-3.0-or-later

// desktop-colour — prints the lightness (0 to 255) of the window background that the desktop's
// platform theme hands a Qt program that keeps no colours of its own: the proof that a test's
// desktop colour scheme reaches Qt at all.
#include <QApplication>
#include <QPalette>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream(stdout) << QApplication::palette().color(QPalette::Window).lightness() << '\n';
}
