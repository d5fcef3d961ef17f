#include "ui/pictures.h"

#include "ui/picturedrawing.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>

namespace {

// The pictures the windows show at 100 % and 200 % display scale were drawn when the game was
// built (see ui/CMakeLists.txt), so that a window opening need not draw them; any other is drawn
// now, the same way.
QImage pictureImage(const QString &name, QSize pixels)
{
    QFile prerendered(":/prerendered/" + prerenderedFileName(name, pixels));
    if (prerendered.open(QIODevice::ReadOnly)) {
        QImageReader reader(&prerendered, "png");
        // The format is known: no image format plugin needs to be loaded and asked.
        reader.setAutoDetectImageFormat(false);
        if (QImage image = reader.read(); !image.isNull())
            return image;
    }
    return drawPicture(":/pictures/" + name + ".svg", pixels);
}

} // namespace

QPixmap picture(const QString &name, QSize size)
{
    const qreal scale = qApp->devicePixelRatio();
    QPixmap pixmap = QPixmap::fromImage(pictureImage(name, size * scale));
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QIcon pictureIcon(const QString &name)
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(pictureImage(name, QSize(side, side))));
    return icon;
}
