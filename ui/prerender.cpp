// prerender-pictures OUTPUT_FOLDER SVG_FOLDER NAME:WIDTHxHEIGHT...
//
// Draws each picture NAME of SVG_FOLDER at the given size in device pixels into OUTPUT_FOLDER,
// as a file named by prerenderedFileName() that holds its bare pixels, row by row, each as the
// 32-bit premultiplied ARGB word of the machine this runs on, the one the game is built for: a
// window opening copies them as they are.
// Words in a drawing need fonts, and fonts need a platform: run it with
// QT_QPA_PLATFORM=offscreen.

#include "ui/designfont.h"
#include "ui/picturedrawing.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    // The words are set as the game sets them, so that a picture drawn now is the one the game
    // would draw.
    app.setFont(designFont());
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
        QFile file(output.filePath(prerenderedFileName(name, pixels)));
        const auto *bytes = reinterpret_cast<const char *>(image.constBits());
        if (image.isNull() || !file.open(QIODevice::WriteOnly) ||
            file.write(bytes, image.sizeInBytes()) != image.sizeInBytes() || !file.flush()) {
            std::fprintf(stderr, "prerender-pictures: cannot draw %s\n",
                         qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
