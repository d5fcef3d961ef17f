#include "ui/design.h"

#include <QFrame>
#include <QScreen>
#include <QWidget>

// Written out rather than taken from Fusion's standard palette, which since Qt 6.5 turns dark on a
// dark desktop.
QPalette designPalette()
{
    const QColor window(239, 239, 239);
    const QColor dark = window.darker(150);
    const QColor mid = window.darker(130);
    const QColor shadow = dark.darker(135);
    QColor placeholder = Qt::black;
    placeholder.setAlpha(128);

    QPalette palette(Qt::black, window, window.lighter(150), dark, mid, Qt::black, Qt::white);
    palette.setColor(QPalette::Midlight, mid.lighter(110));
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::Shadow, shadow);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::PlaceholderText, placeholder);
    palette.setColor(QPalette::Highlight, QColor(48, 140, 198));
    const QColor disabledText(190, 190, 190);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    palette.setColor(QPalette::Disabled, QPalette::Dark, QColor(209, 209, 209).darker(110));
    palette.setColor(QPalette::Disabled, QPalette::Shadow, shadow.lighter(150));
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));

    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto colorGroup = QPalette::ColorGroup(group);
            const auto colorRole = QPalette::ColorRole(role);
            palette.setBrush(colorGroup, colorRole, palette.brush(colorGroup, colorRole));
        }
    return palette;
}

void centreOnScreen(QWidget *window)
{
    QRect frame = window->frameGeometry();
    frame.moveCenter(window->screen()->availableGeometry().center());
    window->move(frame.topLeft());
}

QFrame *setUpFrame(QFrame *frame, const char *name, QRect geometry)
{
    frame->setObjectName(name);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(geometry);
    return frame;
}

QFrame *createFrame(QWidget *parent, const char *name, QRect geometry)
{
    return setUpFrame(new QFrame(parent), name, geometry);
}

void setTextColour(QWidget *widget, QColor colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}
