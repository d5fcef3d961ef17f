// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QString>

// How a picture is drawn, the one way shared by the game and by the build step that draws the
// windows' pictures and the icons ahead of time (ui/drawpictures.cpp): the drawing (SVG) in svgFile
// stretched over an image of size × scale device pixels (rounded as QSize rounds), on a
// transparent background. size is the picture's size at 100 % display scale. A file that is no
// drawing gives a null image.
//
// A side of one of the drawing's rectangles that stands on a whole pixel at 100 % is moved to the
// nearest whole device pixel, so that at 125, 150 or 175 % a square's edge stays one sharp step, as
// it is at 100 % and 200 %, rather than a pixel of blended colour; at those two scales it stays
// where it is. Sides between pixels at 100 % (a picture drawn stretched) stay where they are.
QImage drawPicture(const QString &svgFile, QSize size, qreal scale = 1);

// The file name of picture name drawn ahead of time for size at scale, as drawPicture() draws it;
// the build names its files the same way, NAME-WIDTHxHEIGHT@PERCENT.argb.
QString prerenderedFileName(const QString &name, QSize size, qreal scale);
