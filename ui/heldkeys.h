// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QObject>
#include <QSet>

class QKeyEvent;

// Keeps a key that was down when a window opened from doing anything in that window until it is
// released and pressed again: Enter held through the winning move must not accept the name prompt
// and then close the records window, nor Space fill the name with spaces. A window opens when it
// is shown or becomes active again; a deliberate press, and a key held down after the window
// opened, work as ever.
//
// A held key repeats. Under X the repeats can come as a release and a press of the same
// timestamp, not marked as repeats; isRepeat() tells those too.
class HeldKeys : public QObject
{
public:
    // Watches every window of the application from now on.
    static void install();
    // True for a press that only repeats a key held down, as the one instance installed sees it.
    static bool isRepeat(const QKeyEvent &event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
    bool repeats(const QKeyEvent &event) const;

    QSet<int> m_down;
    // Keys down when a window opened, until pressed again deliberately.
    QSet<int> m_stale;
    // The timestamp of each key's last release.
    QHash<int, quint64> m_released;
};
