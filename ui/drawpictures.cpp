// SPDX-License-Identifier: GPL-3.0-or-later

// draw-pictures [DRAWING.svg WIDTHxHEIGHT[@PERCENT] OUTPUT]...
//
// Draws each drawing as the game draws it for a picture of the given size at 100 % display scale
// shown at PERCENT (100 when not given; see ui/picturedrawing.h) into its OUTPUT file, making the
// file's folder where missing: a .png file as a PNG picture (the desktop's icons), any other as the
// bare pixels the game copies as they are when a window opens, row by row, each as the 32-bit
// premultiplied ARGB word of the machine this runs on, the one the game is built for.
// Words in a drawing need fonts, and fonts need a platform: run it with
// QT_QPA_PLATFORM=offscreen.

#include "ui/designfont.h"
#include "ui/picturedrawing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>

#include <cstdio>

namespace {

bool save(const QImage &image, const QString &path)
{
    if (image.isNull() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    if (path.endsWith(".png"))
        return image.save(path);
    QFile file(path);
    const auto *bytes = reinterpret_cast<const char *>(image.constBits());
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes, image.sizeInBytes()) == image.sizeInBytes() && file.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    // The words are set as the game sets them, so that a picture drawn now is the one the game
    // would draw.
    app.setFont(designFont());
    const QStringList arguments = app.arguments().mid(1);
    const QRegularExpression size(QStringLiteral("^(\\d+)x(\\d+)(?:@(\\d+))?$"));
    if (arguments.size() % 3 != 0) {
        std::fprintf(stderr,
                     "usage: draw-pictures [DRAWING.svg WIDTHxHEIGHT[@PERCENT] OUTPUT]...\n");
        return 2;
    }
    for (qsizetype n = 0; n < arguments.size(); n += 3) {
        const QRegularExpressionMatch match = size.match(arguments[n + 1]);
        if (!match.hasMatch()) {
            std::fprintf(stderr, "draw-pictures: not WIDTHxHEIGHT[@PERCENT]: %s\n",
                         qPrintable(arguments[n + 1]));
            return 2;
        }
        const QSize picture(match.captured(1).toInt(), match.captured(2).toInt());
        const qreal scale = match.hasCaptured(3) ? match.captured(3).toInt() / 100.0 : 1;
        if (!save(drawPicture(arguments[n], picture, scale), arguments[n + 2])) {
            std::fprintf(stderr, "draw-pictures: cannot draw %s\n", qPrintable(arguments[n + 2]));
            return 1;
        }
    }
    return 0;
}
