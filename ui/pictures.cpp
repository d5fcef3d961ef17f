#include "ui/pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace {

QPixmap render(QSvgRenderer &renderer, QSize size, qreal scale)
{
    QPixmap pixmap(size * scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QString pictureFile(const QString &name)
{
    return QStringLiteral(":/pictures/%1.svg").arg(name);
}

} // namespace

QPixmap picture(const QString &name, QSize size)
{
    QSvgRenderer renderer(pictureFile(name));
    return render(renderer, size, qApp->devicePixelRatio());
}

QIcon pictureIcon(const QString &name)
{
    QSvgRenderer renderer(pictureFile(name));
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64})
        icon.addPixmap(render(renderer, QSize(side, side), 1));
    return icon;
}
