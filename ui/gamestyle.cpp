#include "ui/gamestyle.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>

namespace {

// An icon that asks the style for its picture the first time it is drawn.
class DeferredIcon : public QIconEngine
{
public:
    DeferredIcon(QStyle *style, QStyle::StandardPixmap which) : m_style(style), m_which(which) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, 1.0, mode, state);
    }

    // On a scaled display Qt asks for the picture at the display's scale through this hook.
    void virtual_hook(int id, void *data) override
    {
        if (id != ScaledPixmapHook)
            return QIconEngine::virtual_hook(id, data);
        auto *wanted = static_cast<ScaledPixmapArgument *>(data);
        wanted->pixmap =
            icon().pixmap(wanted->size / wanted->scale, wanted->scale, wanted->mode, wanted->state);
    }

    QIconEngine *clone() const override { return new DeferredIcon(*this); }

private:
    const QIcon &icon()
    {
        if (m_icon.isNull() && m_style)
            m_icon = m_style->standardIcon(m_which);
        return m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    QIcon m_icon;
};

} // namespace

GameStyle::GameStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

QIcon GameStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                              const QWidget *widget) const
{
    if (standardIcon == SP_ToolBarHorizontalExtensionButton)
        return QIcon(new DeferredIcon(baseStyle(), standardIcon));
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}
