// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/designdialog.h"

#include "ui/design.h"
#include "ui/pictures.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

// A line control: its whole rectangle in the standard text colour, as thick as it is high at any
// display scale.
class Line : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(rect(), palette().windowText());
    }
};

} // namespace

DesignDialog::DesignDialog(const char *name, const QString &caption, QSize clientSize,
                           QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(name);
    setWindowTitle(caption);
    setFont(designFont());
    setFixedSize(twips(clientSize.width()), twips(clientSize.height()));
}

QLabel *DesignDialog::createLabel(QWidget *parent, const QString &name, const QString &text,
                                  QRect geometry, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QLabel *DesignDialog::createImage(QWidget *parent, const char *name, const QString &picture,
                                  QRect geometry)
{
    auto *image = new QLabel(parent);
    image->setObjectName(name);
    image->setGeometry(geometry);
    image->setPixmap(::picture(picture));
    return image;
}

QWidget *DesignDialog::createLine(const char *name, int left, int right, int top)
{
    auto *line = new Line(this);
    line->setObjectName(name);
    line->setGeometry(QRect(QPoint(twips(left), twips(top)), QPoint(twips(right), twips(top))));
    return line;
}

QPushButton *DesignDialog::createCloseButton(const char *name, const QString &text, QRect geometry)
{
    m_button = new QPushButton(text, this);
    m_button->setObjectName(name);
    m_button->setGeometry(geometry);
    // An auto-default button becomes the window's default button while it has the focus.
    m_button->setAutoDefault(false);
    m_button->setFocus();
    connect(m_button, &QPushButton::clicked, this, &QWidget::close);
    return m_button;
}

void DesignDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        centreOnScreen(this);
}

void DesignDialog::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        return;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        if (m_button && m_button->hasFocus()) {
            m_button->click();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}
