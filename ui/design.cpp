// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/design.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

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

namespace {

// A platform window's frame, once the window manager has put it in place. Under X, Qt measures
// it from the window manager's windows when the manager does not say it: while the manager builds
// the frame that can give a side below zero.
QMargins frameOf(const QWindow *window)
{
    const QMargins frame = window->isVisible() ? window->frameMargins() : QMargins();
    const bool whole =
        frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 && frame.bottom() >= 0;
    return whole ? frame : QMargins();
}

// The frame the window manager puts around a window: its own once it has one, else that of
// another window of the game on the screen (they all have a title bar and a fixed border), else
// none known yet (the main window, shown first).
QMargins frameMargins(const QWidget *window)
{
    if (const QWindow *handle = window->windowHandle())
        if (const QMargins own = frameOf(handle); !own.isNull())
            return own;
    for (const QWindow *other : QGuiApplication::topLevelWindows())
        if (const QMargins frame = frameOf(other); !frame.isNull())
            return frame;
    return {};
}

// Sets the client area where the frame around it stands centred.
void placeCentred(QWidget *window, QMargins frame)
{
    QRect outer = QRect(QPoint(), window->size()).marginsAdded(frame);
    outer.moveCenter(window->screen()->availableGeometry().center());
    window->setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), window->size()));
}

// Centres a window again once the window manager has framed it, as its platform window is
// exposed or moved in the frame; gone then, or when the window is hidden unframed (no window
// manager). It watches the platform window, never the widget: centreOnScreen runs inside the
// widget's own Show filter (centreWhenShown), and a filter installed on an object while its
// filters are being called is put first, moving the running one down to be called once more for
// the same event: a window shown before its frame is known would be centred without end.
class CentreWhenFramed : public QObject
{
public:
    CentreWhenFramed(QWidget *window, QWindow *handle) : QObject(handle), m_window(window)
    {
        handle->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        QMargins frame;
        if (event->type() == QEvent::Expose || event->type() == QEvent::Move)
            frame = frameMargins(m_window);
        if (frame.isNull() && event->type() != QEvent::Hide)
            return false;
        watched->removeEventFilter(this);
        deleteLater();
        if (!frame.isNull())
            placeCentred(m_window, frame);
        return false;
    }

private:
    QWidget *m_window;
};

// Centres a window each time it is shown by the program.
class CentreWhenShown : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous())
            centreOnScreen(static_cast<QWidget *>(watched));
        return false;
    }
};

} // namespace

void centreWhenShown(QWidget *window)
{
    window->installEventFilter(new CentreWhenShown(window));
}

void centreOnScreen(QWidget *window)
{
    const QMargins frame = frameMargins(window);
    placeCentred(window, frame);
    if (QWindow *handle = window->windowHandle(); frame.isNull() && handle)
        new CentreWhenFramed(window, handle);
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
