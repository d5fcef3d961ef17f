// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QString>

// How a picture is drawn, the one way shared by the game and by the build step that draws the
// windows' pictures and the icons ahead of time (ui/drawpictures.cpp): the drawing (SVG) in svgFile
// stretched over an image of the given size in device pixels, on a transparent background. A file
// that is no drawing gives a null image.
QImage drawPicture(const QString &svgFile, QSize pixels);

// The file name of picture name drawn ahead of time at the given size in device pixels.
QString prerenderedFileName(const QString &name, QSize pixels);
