// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/tileimage.h"

#include "puzzle/tileboard.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

namespace {

// What a screen reader is told about a tile. The name is read from the tag each time it is
// asked for, so it cannot fall out of step with the colour.
class AccessibleTile : public QAccessibleWidget
{
public:
    explicit AccessibleTile(TileImage *tile) : QAccessibleWidget(tile, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        if (tile()->tag().isEmpty())
            return tile()->place();
        return tile()->place() +
               (tileState(tile()->tag()) == TileState::Red ? ": красная фишка" : ": синяя фишка");
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.focusable = true;
        state.focused = tile()->hasCursor();
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    // Queued: a move that wins opens the name prompt, and the caller must not wait for it.
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            QMetaObject::invokeMethod(tile(), &TileImage::clicked, Qt::QueuedConnection);
    }

private:
    TileImage *tile() const { return static_cast<TileImage *>(widget()); }
};

QAccessibleInterface *accessibleTile(const QString &className, QObject *object)
{
    auto *tile = qobject_cast<TileImage *>(object);
    return tile && className == QLatin1String("TileImage") ? new AccessibleTile(tile) : nullptr;
}

} // namespace

TileImage::TileImage(QWidget *parent) : QWidget(parent)
{
    static const bool factoryInstalled = (QAccessible::installFactory(accessibleTile), true);
    Q_UNUSED(factoryInstalled);
}

void TileImage::setTag(const QString &tag)
{
    if (tag == m_tag)
        return;
    m_tag = tag;
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
}

void TileImage::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void TileImage::setCursorShown(bool shown)
{
    if (shown == m_cursor)
        return;
    m_cursor = shown;
    update();
}

void TileImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
    if (!m_cursor)
        return;
    // A black ring 2 pixels wide in the white margin, 2 pixels in from the edge: clear of the
    // coloured square and of the 2 pixels a right or lower neighbour lays over this tile.
    const qreal side = width() - 4;
    for (const QRectF band : {QRectF(2, 2, side, 2), QRectF(2, side, side, 2),
                              QRectF(2, 2, 2, side), QRectF(side, 2, 2, side)})
        painter.fillRect(band, Qt::black);
}

void TileImage::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void TileImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

void TileImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}
