#include "ui/gamestyle.h"

#include <QEvent>
#include <QStyleFactory>
#include <QToolButton>

namespace {

bool isOverflowButton(const QWidget *widget)
{
    return widget->objectName() == QLatin1String("qt_menubar_ext_button");
}

} // namespace

GameStyle::GameStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

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
