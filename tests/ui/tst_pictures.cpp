// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/application.h"
#include "ui/frmabout.h"
#include "ui/frmhelp.h"
#include "ui/frmmain.h"
#include "ui/frmrecord.h"
#include "ui/picturedrawing.h"
#include "ui/pictures.h"
#include "ui/tileimage.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

// Every picture the windows show, as it comes to the window at the display scale this test runs
// at: at 100 % and 200 % loaded as drawn when the game was built, so that no window draws one as
// it opens, at other scales drawn then; either way pixel for pixel what drawing it now gives.
class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void windowPictures_data();
    void windowPictures();
    void otherSizesDrawnWhenAsked();
    void squaresOnThePixelGrid_data();
    void squaresOnThePixelGrid();

private:
    std::unique_ptr<QWidget> window(const QString &name) const;

    QTemporaryDir m_dir;
};

namespace {

// The picture's pixels as handed to the window, whatever the display's scale.
QImage deviceImage(const QPixmap &pixmap)
{
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1);
    return image;
}

using Shown = std::function<QPixmap(QWidget *window)>;

QPixmap tilePicture(QWidget *window, const char *holder)
{
    return window->findChild<TileImage *>(holder)->picture();
}

QPixmap buttonFace(QWidget *window, const char *button)
{
    auto *face = window->findChild<QPushButton *>(button);
    return face->icon().pixmap(face->iconSize(), window->devicePixelRatio());
}

QPixmap image(QWidget *window)
{
    return window->findChild<QLabel *>("Image1")->pixmap();
}

QPixmap icon(QWidget *window, int side)
{
    return window->windowIcon().pixmap(QSize(side, side), 1.0);
}

} // namespace

void TestPictures::initTestCase()
{
    setUpGame(*qApp);
    QVERIFY(m_dir.isValid());
}

std::unique_ptr<QWidget> TestPictures::window(const QString &name) const
{
    if (name == "FrmMain")
        return std::make_unique<FrmMain>(m_dir.filePath("Records.dat"));
    if (name == "FrmRecord")
        return std::make_unique<FrmRecord>();
    if (name == "FrmHelp")
        return std::make_unique<FrmHelp>();
    return std::make_unique<FrmAbout>();
}

void TestPictures::windowPictures_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<Shown>("shown");
    QTest::addColumn<bool>("scaled");

    QTest::newRow("blue tile") << "FrmMain"
                               << "tile_blue"
                               << Shown([](QWidget *w) { return tilePicture(w, "Img0"); }) << true;
    QTest::newRow("red tile") << "FrmMain"
                              << "tile_red"
                              << Shown([](QWidget *w) { return tilePicture(w, "Img1"); }) << true;
    for (auto [button, picture] : {std::pair{"CmdNew", "btn_new"},
                                   {"CmdHelp", "btn_help"},
                                   {"CmdRecord", "btn_records"},
                                   {"cmdExit", "btn_exit"}})
        QTest::newRow(button) << "FrmMain" << picture
                              << Shown([button](QWidget *w) { return buttonFace(w, button); })
                              << true;
    QTest::newRow("trophy") << "FrmRecord"
                            << "trophy" << Shown(image) << true;
    QTest::newRow("face") << "FrmAbout"
                          << "face" << Shown(image) << true;
    for (auto [window, picture] :
         {std::pair{"FrmMain", "face"}, {"FrmRecord", "column"}, {"FrmHelp", "question"}})
        for (int side : {16, 24, 32, 48, 64})
            QTest::addRow("%s icon %d", window, side)
                << window << picture << Shown([side](QWidget *w) { return icon(w, side); })
                << false;
}

void TestPictures::windowPictures()
{
    QFETCH(QString, window);
    QFETCH(QString, picture);
    QFETCH(Shown, shown);
    QFETCH(bool, scaled);

    const QImage onScreen = deviceImage(shown(this->window(window).get()));
    QVERIFY(!onScreen.isNull());
    const qreal scale = qApp->devicePixelRatio();
    const QString drawing = ":/pictures/" + picture + ".svg";
    QCOMPARE(onScreen, scaled ? drawPicture(drawing, pictureSize(picture), scale)
                              : drawPicture(drawing, onScreen.size()));

    const bool drawnAtBuild = !scaled || scale == 1 || scale == 2;
    const QString prerendered =
        ":/prerendered/" + (scaled ? prerenderedFileName(picture, pictureSize(picture), scale)
                                   : prerenderedFileName(picture, onScreen.size(), 1));
    QCOMPARE(QFile::exists(prerendered), drawnAtBuild);
}

// A size no window asks for is drawn when asked, for the display's scale.
void TestPictures::otherSizesDrawnWhenAsked()
{
    const QPixmap tile = picture("tile_red", QSize(30, 30));
    QCOMPARE(tile.devicePixelRatio(), qApp->devicePixelRatio());
    QCOMPARE(deviceImage(tile),
             drawPicture(":/pictures/tile_red.svg", QSize(30, 30), qApp->devicePixelRatio()));
    QVERIFY(!QFile::exists(":/prerendered/" + prerenderedFileName("tile_red", QSize(30, 30),
                                                                  qApp->devicePixelRatio())));
}

void TestPictures::squaresOnThePixelGrid_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::addColumn<int>("margin"); // in device pixels
    QTest::newRow("100 %") << 1.0 << 6;
    QTest::newRow("125 %") << 1.25 << 8;
    QTest::newRow("150 %") << 1.5 << 9;
    QTest::newRow("175 %") << 1.75 << 11;
    QTest::newRow("200 %") << 2.0 << 12;
}

// At every scale the desktops offer a tile's square stands centred in its white margin, each of
// its sides one sharp step: no pixel of a colour between the two.
void TestPictures::squaresOnThePixelGrid()
{
    QFETCH(qreal, scale);
    QFETCH(int, margin);
    const QImage tile = drawPicture(":/pictures/tile_red.svg", QSize(50, 50), scale);
    const int side = tile.width();
    for (int n = 0; n < side; ++n) {
        const QRgb want = n >= margin && n < side - margin ? qRgb(255, 0, 0) : qRgb(255, 255, 255);
        QCOMPARE(tile.pixel(n, side / 2), want);
        QCOMPARE(tile.pixel(side / 2, n), want);
    }
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
