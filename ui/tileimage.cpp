#include "ui/tileimage.h"

#include <QMouseEvent>
#include <QPainter>

TileImage::TileImage(QWidget *parent) : QWidget(parent) {}

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
