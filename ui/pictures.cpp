// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/pictures.h"

#include "ui/picturedrawing.h"
#include "ui/picturesizes.h"

#include <QGuiApplication>
#include <QResource>

#include <cstring>
#include <utility>

namespace {

// The pictures the windows show at 100 % and 200 % display scale were drawn when the game was
// built (see picturesizes.h and drawpictures.cpp) and are kept as their bare pixels, in the form
// the window system takes them, so that a window opening neither draws, decodes nor converts
// them; any other is drawn now, the same way.
QImage pictureImage(const QString &name, QSize size, qreal scale)
{
    const QResource prerendered(":/prerendered/" + prerenderedFileName(name, size, scale));
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    if (const QByteArray bytes = prerendered.uncompressedData();
        bytes.size() == image.sizeInBytes()) {
        std::memcpy(image.bits(), bytes.constData(), bytes.size());
        return image;
    }
    return drawPicture(":/pictures/" + name + ".svg", size, scale);
}

} // namespace

QPixmap picture(const QString &name, QSize size)
{
    const qreal scale = qApp->devicePixelRatio();
    QImage image = pictureImage(name, size, scale);
    // Where nothing draws SVG (the Windows build has no plugin for it), a scale not drawn ahead
    // gets the 200 % picture scaled: softer than a drawing, but never a blank.
    if (image.isNull())
        image = pictureImage(name, size, 2)
                    .scaled(size * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Handed over, not shared: an opaque picture then becomes the pixmap without a copy.
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QPixmap picture(const QString &name)
{
    return picture(name, pictureSize(name));
}

QSize pictureSize(const QString &name)
{
    for (const ListedPicture &listed : ListedPictures)
        if (name == QLatin1String(listed.name))
            return listed.size;
    return {};
}

QIcon pictureIcon(const QString &name)
{
    QIcon icon;
    for (int side : WindowIconSides)
        icon.addPixmap(QPixmap::fromImage(pictureImage(name, QSize(side, side), 1)));
    return icon;
}
