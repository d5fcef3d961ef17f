// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPixmap>
#include <QWidget>

// An image control that carries a tag text. It shows its picture at natural size, and the same
// picture when disabled (a locked board keeps its colours); a disabled image raises no click.
// A click is a press and a release of the left button over the image: sliding off before the
// release makes none, and the second press of a double click is none either.
//
// Screen readers see it as a button named by its place and by the colour its tag stands for,
// "Ряд 1, столбец 2: красная фишка", renamed whenever the tag changes. Their press action is a
// click that follows from the event loop, so that it returns at once.
class TileImage : public QWidget
{
    Q_OBJECT

public:
    explicit TileImage(QWidget *parent = nullptr);

    QString tag() const { return m_tag; }
    void setTag(const QString &tag);
    QPixmap picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);
    // Where the tile lies, as a screen reader says it: "Ряд 1, столбец 2".
    QString place() const { return m_place; }
    void setPlace(const QString &place) { m_place = place; }
    // The keyboard cursor: a ring in the picture's white margin, and the focused state for screen
    // readers.
    bool hasCursor() const { return m_cursor; }
    void setCursorShown(bool shown);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // QWidget would pass it on as another press.
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QString m_tag;
    QString m_place;
    QPixmap m_picture;
    bool m_pressed = false;
    bool m_cursor = false;
};
