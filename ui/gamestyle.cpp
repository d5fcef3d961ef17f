// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/gamestyle.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolButton>

namespace {

bool isOverflowButton(const QWidget *widget)
{
    return widget->objectName() == QLatin1String("qt_menubar_ext_button");
}

// The order of dialog buttons on the desktop, as Qt's own themes for those desktops give it
// (GNOME and its kin put the affirmative button last, KDE its own way): the one thing the game
// takes from a desktop whose theme it does not load (see setUpEnvironment()).
QDialogButtonBox::ButtonLayout desktopButtonLayout()
{
    static const QDialogButtonBox::ButtonLayout layout = [] {
        static const QStringList gnomeLike = {"GNOME", "X-CINNAMON", "UNITY",    "MATE",
                                              "XFCE",  "LXDE",       "PANTHEON", "BUDGIE"};
        const QStringList desktops =
            qEnvironmentVariable("XDG_CURRENT_DESKTOP").toUpper().split(u':');
        if (desktops.contains("KDE"))
            return QDialogButtonBox::KdeLayout;
        for (const QString &desktop : desktops)
            if (gnomeLike.contains(desktop))
                return QDialogButtonBox::GnomeLayout;
        return QDialogButtonBox::WinLayout;
    }();
    return layout;
}

bool isPictureButton(const QWidget *widget)
{
    const auto *button = qobject_cast<const QPushButton *>(widget);
    return button && button->text().isEmpty() && !button->icon().isNull();
}

// Every other dot of the rectangle's edge, in the colour of text. A dot is a whole number of
// device pixels, one at 100 %, so that the mark stays crisp and as plain at every display scale.
void drawDottedRect(QPainter *painter, QRect rect, const QColor &colour)
{
    const qreal scale = painter->device()->devicePixelRatio();
    const int dot = qMax(1, qRound(scale));
    const QRect pixels(QPoint(qRound(rect.left() * scale), qRound(rect.top() * scale)),
                       QPoint(qRound((rect.right() + 1) * scale) - dot,
                              qRound((rect.bottom() + 1) * scale) - dot));
    painter->save();
    painter->scale(1 / scale, 1 / scale);
    for (int x = pixels.left(); x <= pixels.right(); x += 2 * dot) {
        painter->fillRect(x, pixels.top(), dot, dot, colour);
        painter->fillRect(x, pixels.bottom(), dot, dot, colour);
    }
    for (int y = pixels.top(); y <= pixels.bottom(); y += 2 * dot) {
        painter->fillRect(pixels.left(), y, dot, dot, colour);
        painter->fillRect(pixels.right(), y, dot, dot, colour);
    }
    painter->restore();
}

} // namespace

GameStyle::GameStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

void GameStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    // Over the picture, three pixels in from the button's edges, clear of its frame.
    if (element == CE_PushButtonLabel && (option->state & State_HasFocus) &&
        isPictureButton(widget))
        drawDottedRect(painter, widget->rect().adjusted(3, 3, -3, -3),
                       option->palette.color(QPalette::WindowText));
}

int GameStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                         QStyleHintReturn *returnData) const
{
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
        return 0;
    if (hint == SH_DialogButtonLayout && !QGuiApplication::desktopSettingsAware())
        return desktopButtonLayout();
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QIcon GameStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                              const QWidget *widget) const
{
    // The overflow button gets its arrow when it is shown (eventFilter).
    if (standardIcon == SP_ToolBarHorizontalExtensionButton)
        return {};
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

void GameStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    if (isOverflowButton(widget))
        widget->installEventFilter(this);
}

void GameStyle::unpolish(QWidget *widget)
{
    if (isOverflowButton(widget))
        widget->removeEventFilter(this);
    QProxyStyle::unpolish(widget);
}

bool GameStyle::eventFilter(QObject *watched, QEvent *event)
{
    auto *button = qobject_cast<QToolButton *>(watched);
    if (event->type() == QEvent::Show && button && button->icon().isNull())
        button->setIcon(baseStyle()->standardIcon(SP_ToolBarHorizontalExtensionButton, nullptr,
                                                  button->parentWidget()));
    return QProxyStyle::eventFilter(watched, event);
}
