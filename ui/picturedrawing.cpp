#include "ui/picturedrawing.h"

#include <QPainter>
#include <QSvgRenderer>

QImage drawPicture(const QString &svgFile, QSize pixels)
{
    QSvgRenderer renderer(svgFile);
    if (!renderer.isValid())
        return {};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

QString prerenderedFileName(const QString &name, QSize pixels)
{
    return QStringLiteral("%1-%2x%3.png").arg(name).arg(pixels.width()).arg(pixels.height());
}
