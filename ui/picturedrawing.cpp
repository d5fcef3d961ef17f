// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/picturedrawing.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <tuple>

namespace {

// One direction of the drawing: where its user units stand at 100 % and on the device.
struct Axis
{
    qreal origin = 0;
    qreal perUnitAt100 = 0;
    qreal perUnitOnDevice = 0;

    qreal snapped(qreal at) const
    {
        const qreal at100 = (at - origin) * perUnitAt100;
        if (perUnitOnDevice <= 0 || qAbs(at100 - qRound(at100)) > 1e-6)
            return at;
        return origin + qRound((at - origin) * perUnitOnDevice) / perUnitOnDevice;
    }
};

// The drawing's own area in user units: its view box, else its width and height.
QRectF userArea(const QXmlStreamAttributes &svg)
{
    const QStringList box =
        svg.value("viewBox").toString().simplified().split(QRegularExpression("[ ,]+"));
    if (box.size() == 4)
        return QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble());
    return QRectF(0, 0, svg.value("width").toDouble(), svg.value("height").toDouble());
}

// Moves the sides of a rectangle element to the device pixel grid (see drawPicture).
QXmlStreamAttributes rectOnGrid(const QXmlStreamAttributes &rect, const Axis &x, const Axis &y)
{
    QXmlStreamAttributes result = rect;
    for (const auto &[axis, start, length] :
         {std::tuple{x, "x", "width"}, std::tuple{y, "y", "height"}}) {
        const qreal from = rect.value(start).toDouble();
        const qreal to = from + rect.value(length).toDouble();
        const qreal newFrom = axis.snapped(from);
        const qreal newTo = axis.snapped(to);
        if (newFrom == from && newTo == to)
            continue;
        for (QXmlStreamAttribute &attribute : result)
            if (attribute.qualifiedName() == QLatin1String(start))
                attribute = QXmlStreamAttribute(start, QString::number(newFrom, 'g', 12));
            else if (attribute.qualifiedName() == QLatin1String(length))
                attribute = QXmlStreamAttribute(length, QString::number(newTo - newFrom, 'g', 12));
    }
    return result;
}

// The drawing with its rectangles on the grid of an image of the given size in device pixels.
QByteArray onPixelGrid(QIODevice &svg, QSize size, QSize pixels)
{
    QXmlStreamReader reader(&svg);
    // Read and written as plain names: the drawing's default namespace is copied as it stands.
    reader.setNamespaceProcessing(false);
    QByteArray drawing;
    QXmlStreamWriter writer(&drawing);
    Axis x, y;
    while (!reader.atEnd() && reader.readNext() != QXmlStreamReader::Invalid) {
        if (reader.isStartElement() && reader.qualifiedName() == QLatin1String("svg")) {
            const QRectF area = userArea(reader.attributes());
            if (area.width() > 0 && area.height() > 0) {
                x = {area.x(), size.width() / area.width(), pixels.width() / area.width()};
                y = {area.y(), size.height() / area.height(), pixels.height() / area.height()};
            }
        }
        if (reader.isStartElement() && reader.qualifiedName() == QLatin1String("rect")) {
            writer.writeStartElement(reader.qualifiedName().toString());
            writer.writeAttributes(rectOnGrid(reader.attributes(), x, y));
        } else {
            writer.writeCurrentToken(reader);
        }
    }
    return reader.hasError() ? QByteArray() : drawing;
}

} // namespace

// Drawn by Qt's SVG image plugin, which loads Qt's SVG library only when a drawing is drawn: at
// the scales the pictures were drawn for when the game was built, it is never loaded.
QImage drawPicture(const QString &svgFile, QSize size, qreal scale)
{
    const QSize pixels = size * scale;
    QFile file(svgFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray drawing = onPixelGrid(file, size, pixels);
    QBuffer buffer(&drawing);
    QImageReader reader(&buffer, "svg");
    reader.setScaledSize(pixels);
    return reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString prerenderedFileName(const QString &name, QSize size, qreal scale)
{
    return QStringLiteral("%1-%2x%3@%4.argb")
        .arg(name)
        .arg(size.width())
        .arg(size.height())
        .arg(qRound(scale * 100));
}
