// prerender-pictures OUTPUT_FOLDER SVG_FOLDER NAME:WIDTHxHEIGHT...
//
// Draws each picture NAME of SVG_FOLDER at the given size in device pixels into OUTPUT_FOLDER,
// as a PNG file named by prerenderedFileName(). Words in a drawing need fonts, and fonts need a
// platform: run it with QT_QPA_PLATFORM=offscreen.

#include "ui/picturedrawing.h"

#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: prerender-pictures OUTPUT_FOLDER SVG_FOLDER "
                             "NAME:WIDTHxHEIGHT...\n");
        return 2;
    }
    const QDir output(arguments[1]);
    const QDir drawings(arguments[2]);
    const QRegularExpression format(QStringLiteral("^(\\w+):(\\d+)x(\\d+)$"));
    for (const QString &picture : arguments.mid(3)) {
        const QRegularExpressionMatch match = format.match(picture);
        if (!match.hasMatch()) {
            std::fprintf(stderr, "prerender-pictures: not NAME:WIDTHxHEIGHT: %s\n",
                         qPrintable(picture));
            return 2;
        }
        const QString name = match.captured(1);
        const QSize pixels(match.captured(2).toInt(), match.captured(3).toInt());
        const QImage image = drawPicture(drawings.filePath(name + ".svg"), pixels);
        const QString file = output.filePath(prerenderedFileName(name, pixels));
        if (image.isNull() || !image.save(file, "png")) {
            std::fprintf(stderr, "prerender-pictures: cannot draw %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
