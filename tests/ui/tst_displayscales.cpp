// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowtest.h"

#include "ui/frmmain.h"
#include "ui/tileimage.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QSvgRenderer>
#include <QTest>

#include <memory>

// Every window, the exit question and the name prompt as they appear at the display scale this
// test runs at (100 %, 150 % or 200 %): each picture drawn for that scale, not enlarged from a
// smaller drawing, and every text whole.
class TestDisplayScales : public MainWindowTest
{
    Q_OBJECT

private slots:
    void init();

    void picturesAreDrawnForTheScale_data();
    void picturesAreDrawnForTheScale();
    void textsAreWhole_data();
    void textsAreWhole();

private:
    void windows();
    // Brings the window up as a player reaches it and hands it to check before closing it.
    void withWindow(const QString &window, const std::function<void(QWidget *)> &check);
    // How far the picture's on-screen pixels stray from a drawing of it made at the screen's
    // resolution: the number of its opaque pixels that differ, at the best of the positions the
    // picture's rectangle (in window coordinates) can round to.
    static int strayPixels(const QImage &screen, const QString &picture, QRectF place);
};

void TestDisplayScales::init()
{
    MainWindowTest::init();
    // Four holders of long names, one with the highest count, so that the records window shows
    // its widest rows.
    const QByteArray name("\xCA\xEE\xED\xF1\xF2\xE0\xED\xF2\xE8\xED"); // Константин
    QByteArray table;
    for (qint16 moves : {2, 3, 4, 32767})
        table += name + char(moves & 0xFF) + char(moves >> 8);
    QFile file(recordsPath());
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(table) == table.size());
}

void TestDisplayScales::windows()
{
    QTest::addColumn<QString>("window");
    for (const char *window :
         {"FrmMain", "FrmHelp", "FrmAbout", "FrmRecord", "ExitQuestion", "NamePrompt", "FileError"})
        QTest::newRow(window) << window;
}

void TestDisplayScales::withWindow(const QString &window,
                                   const std::function<void(QWidget *)> &check)
{
    if (window == "FrmMain")
        return check(m_window.get());

    bool seen = false;
    auto checkAndClose = [&](QWidget *dialog) {
        QCOMPARE(dialog->objectName(), window);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        seen = true;
        check(dialog);
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            box->buttons().constLast()->click(); // "Нет", or the file error's "OK"
        else
            dialog->close();
    };
    if (window == "ExitQuestion") {
        whenModalOpens(checkAndClose);
        m_window->ExitProgram();
    } else if (window == "FileError") {
        // A folder where the table should be, reported by the records command.
        QVERIFY(QFile::remove(recordsPath()) && QDir().mkdir(recordsPath()));
        whenModalOpens([&](QWidget *box) {
            whenModalOpens([](QWidget *records) { records->close(); });
            checkAndClose(box);
        });
        QTest::mouseClick(m_window->findChild<QPushButton *>("CmdRecord"), Qt::LeftButton);
    } else if (window == "FrmHelp" || window == "FrmAbout") {
        whenModalOpens(checkAndClose);
        chooseMenuItem(m_window.get(), window == "FrmHelp" ? "MnuPravila" : "MnuAbout");
    } else {
        // A won game: the name prompt, then the records window with its result line.
        if (window == "NamePrompt") {
            whenModalOpens([&](QWidget *prompt) {
                whenModalOpens([](QWidget *records) { records->close(); });
                checkAndClose(prompt);
            });
        } else {
            answerWinDialogs("Константин", checkAndClose);
        }
        layBoard(m_window.get(), "0000011101110111");
        clickTile(m_window.get(), 0);
    }
    QVERIFY2(seen, qPrintable(window + " did not open"));
}

int TestDisplayScales::strayPixels(const QImage &screen, const QString &picture, QRectF place)
{
    const qreal scale = screen.devicePixelRatio();
    const QRectF pixels(place.topLeft() * scale, place.size() * scale);
    QImage drawing(pixels.size().toSize(), QImage::Format_ARGB32);
    drawing.fill(Qt::transparent);
    QPainter painter(&drawing);
    QSvgRenderer(":/pictures/" + picture + ".svg").render(&painter);
    painter.end();

    int fewest = drawing.width() * drawing.height();
    const QPoint nearest = pixels.topLeft().toPoint();
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            int stray = 0;
            for (int y = 0; y < drawing.height(); ++y)
                for (int x = 0; x < drawing.width(); ++x) {
                    const QRgb want = drawing.pixel(x, y);
                    const QPoint at = nearest + QPoint(x + dx, y + dy);
                    if (qAlpha(want) < 255)
                        continue;
                    const QRgb got = screen.valid(at) ? screen.pixel(at) : 0;
                    if (qAbs(qRed(got) - qRed(want)) > 2 || qAbs(qGreen(got) - qGreen(want)) > 2 ||
                        qAbs(qBlue(got) - qBlue(want)) > 2)
                        ++stray;
                }
            fewest = qMin(fewest, stray);
        }
    return fewest;
}

void TestDisplayScales::picturesAreDrawnForTheScale_data()
{
    windows();
}

// The tiles, the button faces, the about window's face and the records window's trophy: each
// on screen pixel for pixel as its drawing made at the screen's resolution. A picture drawn at
// 100 % and enlarged would blur or step the edges of the squares and the letters.
void TestDisplayScales::picturesAreDrawnForTheScale()
{
    QFETCH(QString, window);
    withWindow(window, [](QWidget *shown) {
        // The focused button's dotted mark lies over its picture (tst_mainwindow checks it).
        if (QWidget *focus = shown->focusWidget())
            focus->clearFocus();
        QImage screen = render(shown);
        screen.setDevicePixelRatio(shown->devicePixelRatio());
        auto at = [shown](QWidget *widget, QSizeF size) {
            // A picture stands centred in its control.
            QRectF place(QPointF(), size);
            place.moveCenter(QRectF(widget->mapTo(shown, QPoint()), widget->size()).center());
            return place;
        };
        const QMap<QString, QString> named = {
            {"CmdNew", "btn_new"},   {"CmdHelp", "btn_help"},     {"CmdRecord", "btn_records"},
            {"cmdExit", "btn_exit"}, {"FrmAbout/Image1", "face"}, {"FrmRecord/Image1", "trophy"},
        };
        QList<std::pair<QString, QRectF>> pictures; // picture and where it stands
        QStringList unknown;
        for (QWidget *widget : shown->findChildren<QWidget *>()) {
            if (!widget->isVisible())
                continue;
            const QString name = widget->objectName();
            const QString labelName = shown->objectName() + "/" + name;
            auto *label = qobject_cast<QLabel *>(widget);
            if (auto *tile = qobject_cast<TileImage *>(widget))
                pictures.append(
                    {tile->tag() == "1" ? "tile_red" : "tile_blue", at(tile, {50, 50})});
            else if (qobject_cast<QPushButton *>(widget) && named.contains(name))
                pictures.append({named[name], at(widget, {100, 20})});
            else if (label && !label->pixmap().isNull() && named.contains(labelName))
                pictures.append({named[labelName], at(label, label->size())});
            else if (label && !label->pixmap().isNull() && name != "qt_msgboxex_icon_label")
                unknown << labelName;
        }
        QVERIFY2(unknown.isEmpty(), qPrintable("pictures not known here: " + unknown.join(", ")));
        const QMap<QString, int> count = {{"FrmMain", 20}, {"FrmAbout", 1}, {"FrmRecord", 1}};
        QCOMPARE(pictures.size(), count.value(shown->objectName()));
        for (const auto &[picture, place] : pictures) {
            const int stray = strayPixels(screen, picture, place);
            QVERIFY2(stray == 0, qPrintable(QString("%1 at %2, %3: %4 pixels differ from its "
                                                    "drawing at %5×")
                                                .arg(picture)
                                                .arg(place.x())
                                                .arg(place.y())
                                                .arg(stray)
                                                .arg(screen.devicePixelRatio())));
        }
    });
}

void TestDisplayScales::textsAreWhole_data()
{
    windows();
}

// A label's text keeps within its width, and shows as many rows of ink as in a label with room
// to spare; a button's text keeps within the button's face.
void TestDisplayScales::textsAreWhole()
{
    QFETCH(QString, window);
    withWindow(window, [](QWidget *shown) {
        int checked = 0;
        for (QLabel *label : shown->findChildren<QLabel *>()) {
            if (!label->isVisible() || label->text().isEmpty())
                continue;
            ++checked;
            const QString name = label->objectName() + " \"" + label->text() + "\"";
            const QRect space = label->contentsRect();
            const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
            const QRect needed = label->fontMetrics().boundingRect(space, flags, label->text());
            QVERIFY2(needed.left() >= space.left() && needed.right() <= space.right(),
                     qPrintable(name + QString(" needs %1 px across").arg(needed.width())));

            QLabel roomy(label->text());
            roomy.setFont(label->font());
            roomy.setPalette(label->palette());
            roomy.setAutoFillBackground(label->autoFillBackground());
            roomy.setAlignment(label->alignment());
            roomy.setWordWrap(label->wordWrap());
            roomy.setContentsMargins(label->contentsMargins());
            roomy.resize(label->width(), label->height() * 3 + 50);
            QVERIFY2(inkRows(label) == inkRows(&roomy), qPrintable(name + " loses rows of ink"));
            // The file error's lines keep a line each.
            if (shown->objectName() == "FileError")
                for (const QString &line : label->text().split(u'\n'))
                    QVERIFY2(label->fontMetrics().horizontalAdvance(line) <= space.width(),
                             qPrintable(name + " wraps \"" + line + "\""));
        }
        for (QAbstractButton *button : shown->findChildren<QAbstractButton *>()) {
            if (!button->isVisible() || button->text().isEmpty())
                continue;
            ++checked;
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect face =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const QFontMetrics metrics = button->fontMetrics();
            const QRect needed =
                metrics.boundingRect(face, Qt::AlignCenter | Qt::TextShowMnemonic, button->text());
            QVERIFY2(face.contains(needed),
                     qPrintable(QString("%1 \"%2\" needs %3 × %4 px, has %5 × %6")
                                    .arg(button->objectName(), button->text())
                                    .arg(needed.width())
                                    .arg(needed.height())
                                    .arg(face.width())
                                    .arg(face.height())));
        }
        QVERIFY(checked > 0);
    });
}

QTEST_MAIN(TestDisplayScales)
#include "tst_displayscales.moc"
