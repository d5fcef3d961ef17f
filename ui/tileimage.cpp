#include "ui/tileimage.h"

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
        const auto *tile = static_cast<const TileImage *>(widget());
        if (tile->tag().isEmpty())
            return tile->place();
        // As in the move rule, a tag that does not read as 0 is red.
        return tile->place() + (tile->tag().toInt() != 0 ? ": красная фишка" : ": синяя фишка");
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &action) override
    {
        auto *tile = static_cast<TileImage *>(widget());
        if (action == pressAction() && tile->isEnabled())
            emit tile->clicked();
    }
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

void TileImage::paintEvent(QPaintEvent *)
{
    QPainter(this).drawPixmap(0, 0, m_picture);
}

void TileImage::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

void TileImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}
