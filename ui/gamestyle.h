#pragma once

#include <QProxyStyle>

// Qt's Fusion style, as the windows were laid out for, but for one picture fetched only when it is
// shown: the arrow of the menu bar's overflow button. A menu bar asks for it when it is made, and
// Qt reads it from an image file, loading and asking every image format plugin installed (and
// the libraries they use) which of them reads it: a twentieth of the game's start-up. The button
// shows only when the menus do not fit the window, which in this window they always do.
class GameStyle : public QProxyStyle
{
public:
    GameStyle();

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    void polish(QWidget *widget) override;
    void unpolish(QWidget *widget) override;
    using QProxyStyle::polish;
    using QProxyStyle::unpolish;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
