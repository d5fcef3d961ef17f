// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/picturedrawing.h"

#include <QImageReader>

// Drawn by Qt's SVG image plugin, which loads Qt's SVG library only when a drawing is drawn: at
// the scales the pictures were drawn for when the game was built, it is never loaded.
QImage drawPicture(const QString &svgFile, QSize pixels)
{
    QImageReader reader(svgFile, "svg");
    reader.setScaledSize(pixels);
    return reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString prerenderedFileName(const QString &name, QSize pixels)
{
    return QStringLiteral("%1-%2x%3.argb").arg(name).arg(pixels.width()).arg(pixels.height());
}
