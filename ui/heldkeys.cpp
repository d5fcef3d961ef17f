// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/heldkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {

QPointer<HeldKeys> installed;

bool opensWindow(QObject *watched, QEvent::Type type)
{
    if (type != QEvent::Show && type != QEvent::WindowActivate)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    return widget && widget->isWindow() && widget->windowType() != Qt::Popup &&
           widget->windowType() != Qt::ToolTip;
}

} // namespace

void HeldKeys::install()
{
    if (installed)
        return;
    installed = new HeldKeys(qApp);
    qApp->installEventFilter(installed);
}

bool HeldKeys::isRepeat(const QKeyEvent &event)
{
    return installed ? installed->repeats(event) : event.isAutoRepeat();
}

bool HeldKeys::repeats(const QKeyEvent &event) const
{
    // A timestamp of 0 is an event made by the program, not by the window system.
    return event.isAutoRepeat() ||
           (event.timestamp() != 0 && m_released.value(event.key(), 0) == event.timestamp());
}

// An event on its way up from the focus widget to its window passes here once for each widget
// it is offered to, so each step below gives the same answer however often it is taken.
bool HeldKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (opensWindow(watched, event->type())) {
        m_stale.unite(m_down);
        return false;
    }
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    const auto &key = static_cast<const QKeyEvent &>(*event);
    const int code = key.key();
    if (type == QEvent::KeyRelease) {
        m_down.remove(code);
        m_released.insert(code, key.timestamp());
        return m_stale.contains(code);
    }
    if (m_stale.contains(code) && repeats(key)) {
        event->accept();
        return true;
    }
    if (type == QEvent::KeyPress) {
        m_stale.remove(code);
        m_down.insert(code);
    }
    return false;
}
