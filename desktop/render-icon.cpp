// render-icon PICTURE.svg FOLDER NAME SIDE... — draws the picture as FOLDER/SIDExSIDE/apps/NAME.png
// for each side, the layout of an icon theme's folders.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QSvgRenderer renderer(args.value(1));
    if (args.size() < 5 || !renderer.isValid()) {
        QTextStream(stderr) << "usage: render-icon PICTURE.svg FOLDER NAME SIDE...\n";
        return 2;
    }
    for (const QString &side : args.mid(4)) {
        const int pixels = side.toInt();
        QImage icon(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        QPainter painter(&icon);
        renderer.render(&painter);
        painter.end();
        const QString folder = QString("%1/%2x%2/apps").arg(args[2]).arg(pixels);
        if (pixels <= 0 || !QDir().mkpath(folder) || !icon.save(folder + "/" + args[3] + ".png"))
            return 1;
    }
    return 0;
}
