// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/designfont.h"

#include <QPalette>
#include <QRect>

class QColor;
class QFrame;
class QWidget;

// The windows are laid out in twips, 15 to a pixel at 100 % scale.
constexpr int twips(int value)
{
    return (value + 7) / 15;
}
constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// The light standard dialog background the windows' fixed text colours (pure blue, red, orange,
// the light-cyan result band) were chosen for, with the shades Qt's Fusion style draws with where
// no desktop hands Qt colours of its own. Every role of every group is set, so that nothing of a
// desktop's palette shows through.
QPalette designPalette();

// Centres a window on its screen by its frame, title bar included, as it is shown: every window
// of the game stands there, Qt's dialogs too (centreWhenShown), which Qt would put over their
// owner. A window shown before its frame is known (the main window) is centred again once the
// window manager has framed it.
void centreOnScreen(QWidget *window);
void centreWhenShown(QWidget *window);

// A frame without caption: an etched border around a group of controls. setUpFrame gives a frame
// made elsewhere (the board) that look, its name and its place.
QFrame *createFrame(QWidget *parent, const char *name, QRect geometry);
QFrame *setUpFrame(QFrame *frame, const char *name, QRect geometry);
void setTextColour(QWidget *widget, QColor colour);
