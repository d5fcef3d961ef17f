#pragma once

#include <QPixmap>
#include <QWidget>

// An image control that carries a tag text. It shows its picture at natural size, and the same
// picture when disabled (a locked board keeps its colours); a disabled image raises no click.
//
// Screen readers see it as a button named by its place and by the colour its tag stands for,
// "Ряд 1, столбец 2: красная фишка", renamed whenever the tag changes; pressing it there is a
// click.
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

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    // The second press of a double click arrives as a double-click event and is no click, so a
    // double click makes one move. (QWidget would pass it on as another press.)
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QString m_tag;
    QString m_place;
    QPixmap m_picture;
};
