// render-icon PICTURE.svg FOLDER NAME SIDE... — draws the picture as FOLDER/SIDExSIDE/apps/NAME.png
// for each side, the layout of an icon theme's folders.
#include "ui/picturedrawing.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        QTextStream(stderr) << "usage: render-icon PICTURE.svg FOLDER NAME SIDE...\n";
        return 2;
    }
    for (const QString &side : args.mid(4)) {
        const int pixels = side.toInt();
        const QImage icon = pixels > 0 ? drawPicture(args[1], QSize(pixels, pixels)) : QImage();
        const QString folder = QString("%1/%2x%2/apps").arg(args[2]).arg(pixels);
        if (icon.isNull() || !QDir().mkpath(folder) || !icon.save(folder + "/" + args[3] + ".png"))
            return 1;
    }
    return 0;
}
