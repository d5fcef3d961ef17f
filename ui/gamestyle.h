// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProxyStyle>

// Qt's Fusion style, as the windows were laid out for, with these differences.
//
// A picture button marks its focus as Windows 9x did, with a dotted rectangle inside its face,
// whenever it has the focus: the picture covers the whole face, so Fusion's mark, a change of
// colour at its edges after a focus change by key only, is all but invisible.
//
// Dialog buttons show their words only, on every desktop, as the game's own buttons do: a desktop
// theme would give OK, Отмена, Да and Нет icons of its own. Their order is the desktop's,
// although the game loads no desktop theme (see setUpEnvironment()).
//
// One picture is fetched only when it is shown: the arrow of the menu bar's overflow button. A
// menu bar asks for it when it is made, and Qt reads it from an image file, loading and asking
// every image format plugin installed (and the libraries they use) which of them reads it: a
// twentieth of the game's start-up. The button shows only when the menus do not fit the window,
// which in this window they always do.
class GameStyle : public QProxyStyle
{
public:
    GameStyle();

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr,
                  const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    void polish(QWidget *widget) override;
    void unpolish(QWidget *widget) override;
    using QProxyStyle::polish;
    using QProxyStyle::unpolish;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
