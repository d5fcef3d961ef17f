// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowtest.h"

#include "ui/application.h"
#include "ui/designfont.h"
#include "ui/frmrecord.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

// The records window FrmRecord: its layout, its design-time state and what the record table can
// write into it.
class TestRecordsWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpGame(*qApp); }
    void init();
    void cleanup() { m_window.reset(); }

    void controlGeometry_data();
    void controlGeometry();
    void designTimeStateOnEveryNewWindow();
    void labels_data();
    void labels();
    void headingKeepsItsDescenders();
    void setRow_data();
    void setRow();
    void resultLine_data();
    void resultLine();
    void pictureAndButton();

private:
    QLabel *label(const QString &name) const { return m_window->findChild<QLabel *>(name); }

    std::unique_ptr<FrmRecord> m_window;
};

void TestRecordsWindow::init()
{
    m_window = std::make_unique<FrmRecord>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestRecordsWindow::controlGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    auto row = [](const char *name, const char *parent, QRect geometry) {
        QTest::newRow(name) << name << parent << geometry;
    };
    row("Label1", "FrmRecord", fromTwips(120, 120, 2900, 255));
    row("Frame1", "FrmRecord", fromTwips(120, 480, 2900, 2055));
    row("Image1", "FrmRecord", fromTwips(3120, 240, 1455, 2295));
    row("Label3", "FrmRecord", fromTwips(120, 2640, 2895, 300));
    row("Command1", "FrmRecord", fromTwips(3120, 2640, 1455, 300));
    row("LblMesto_0", "Frame1", fromTwips(120, 240, 100, 200));
    row("LblMesto_1", "Frame1", fromTwips(120, 600, 105, 195));
    row("LblMesto_2", "Frame1", fromTwips(120, 960, 105, 195));
    row("LblMesto_3", "Frame1", fromTwips(120, 1320, 100, 200));
    row("LblMesto_4", "Frame1", fromTwips(120, 1680, 100, 200));
    row("Label2_1", "Frame1", fromTwips(480, 240, 1455, 200));
    row("Label2_2", "Frame1", fromTwips(480, 597, 1455, 200));
    row("Label2_3", "Frame1", fromTwips(480, 957, 1455, 200));
    row("Label2_4", "Frame1", fromTwips(480, 1320, 1455, 200));
    row("Label2_5", "Frame1", fromTwips(480, 1680, 1455, 200));
    row("LblHod_1", "Frame1", fromTwips(2280, 240, 495, 195));
    row("LblHod_2", "Frame1", fromTwips(2280, 600, 495, 195));
    row("LblHod_3", "Frame1", fromTwips(2280, 960, 495, 195));
    row("LblHod_4", "Frame1", fromTwips(2280, 1320, 495, 195));
    row("LblHod_5", "Frame1", fromTwips(2280, 1680, 495, 195));
}

void TestRecordsWindow::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    const auto *control = m_window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(), geometry);
}

// Nothing written for one showing survives into the next window.
void TestRecordsWindow::designTimeStateOnEveryNewWindow()
{
    for (int showing = 1; showing <= 2; ++showing) {
        FrmRecord window;
        for (int n = 1; n <= 5; ++n) {
            QCOMPARE(window.findChild<QLabel *>(QString("LblMesto_%1").arg(n - 1))->text(),
                     QString::number(n));
            QCOMPARE(window.findChild<QLabel *>(QString("Label2_%1").arg(n))->text(), "LblName");
            QCOMPARE(window.findChild<QLabel *>(QString("LblHod_%1").arg(n))->text(), "0");
        }
        const auto *result = window.findChild<QLabel *>("Label3");
        QCOMPARE(result->text(), QString());
        QVERIFY(!result->isHidden());

        for (int n = 1; n <= 5; ++n)
            window.setRow(n, "Игрок", qint16(n));
        window.showResult(12);
        window.hideResult();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(window.findChild<QPushButton *>("Command1"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
    }
}

void TestRecordsWindow::labels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");   // at design time
    QTest::addColumn<QString>("widest"); // the widest text a real result gives it, if any
    QTest::addColumn<QColor>("colour");  // invalid: the standard text colour
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("alignment");
    const QColor standard;
    QTest::newRow("Label1") << "Label1"
                            << "Пятерка сильнейших" << QString() << QColor(255, 0, 0) << 12.0
                            << true << int(Qt::AlignHCenter);
    QTest::newRow("Label3") << "Label3"
                            << ""
                            << "Вы справились за 32767 ходов" << standard << 8.25 << true
                            << int(Qt::AlignHCenter);
    QTest::newRow("Label3, overtaken")
        << "Label3"
        << ""
        << "Пока вводили имя, вас обошли" << standard << 8.25 << true << int(Qt::AlignHCenter);
    QTest::newRow("LblUnreadable") << "LblUnreadable"
                                   << "Таблицу рекордов прочитать не удалось" << QString()
                                   << standard << 8.25 << false << int(Qt::AlignHCenter);
    for (int n = 1; n <= 5; ++n) {
        const QString place = QString("LblMesto_%1").arg(n - 1);
        const QString name = QString("Label2_%1").arg(n);
        const QString moves = QString("LblHod_%1").arg(n);
        QTest::newRow(qPrintable(place)) << place << QString::number(n) << QString() << standard
                                         << 8.25 << false << int(Qt::AlignLeft);
        QTest::newRow(qPrintable(name))
            << name << "LblName"
            << "Константин" << standard << 8.25 << false << int(Qt::AlignLeft);
        QTest::newRow(qPrintable(moves))
            << moves << "0"
            << "32767" << standard << 8.25 << false << int(Qt::AlignLeft);
    }
}

// Every text keeps to its label, in the font, colour and alignment the window gives it.
void TestRecordsWindow::labels()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, widest);
    QFETCH(QColor, colour);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    QFETCH(int, alignment);
    QLabel *label = this->label(name);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    if (!widest.isNull())
        label->setText(widest);

    QCOMPARE(label->palette().color(QPalette::WindowText),
             colour.isValid() ? colour : QApplication::palette().color(QPalette::WindowText));
    QCOMPARE(label->font().pointSizeF(), points);
    QCOMPARE(label->font().bold(), bold);
    QCOMPARE(QFontInfo(label->font()).family(), QFontInfo(designFont()).family());
    QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), alignment);

    const QRect space = label->contentsRect();
    const QRect needed =
        QFontMetrics(label->font())
            .boundingRect(space, int(label->alignment()) | Qt::TextWordWrap, label->text());
    QVERIFY2(needed.left() >= space.left() && needed.right() <= space.right(),
             qPrintable(QString("needs %1 px across").arg(needed.width())));
    QEXPECT_FAIL("Label1", "a 12 pt bold line is 18 px high, the label 17 px", Continue);
    QVERIFY2(needed.top() >= space.top() && needed.bottom() <= space.bottom(),
             qPrintable(QString("needs %1 px down").arg(needed.height())));
}

// The heading's line is taller than its label, but no row of its letters is lost: the label
// shows as many rows of ink as the same text in a label with room to spare.
void TestRecordsWindow::headingKeepsItsDescenders()
{
    QLabel *heading = label("Label1");
    QLabel roomy(heading->text());
    roomy.setFont(heading->font());
    roomy.setPalette(heading->palette());
    roomy.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    roomy.resize(heading->width(), heading->height() * 2);
    QVERIFY(inkRows(heading) > 0);
    QCOMPARE(inkRows(heading), inkRows(&roomy));
}

void TestRecordsWindow::setRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("moves");
    QTest::addColumn<QString>("shownName");
    QTest::addColumn<QString>("shownMoves");
    const QChar nul(0);
    QTest::newRow("trailing spaces kept") << 2 << "Маша      " << 14 << "Маша      "
                                          << "14";
    QTest::newRow("never assigned") << 5 << QString(10, nul) << 0 << ""
                                    << "0";
    QTest::newRow("cut at the first NUL") << 3 << QString("Ив") + nul + "ан" + nul << 23 << "Ив"
                                          << "23";
    QTest::newRow("most moves") << 1 << "Константин" << 32767 << "Константин"
                                << "32767";
    QTest::newRow("negative moves") << 4 << "Anna" << -32768 << "Anna"
                                    << "-32768";
    QTest::newRow("row 0 ignored") << 0 << "Anna" << 5 << ""
                                   << "";
    QTest::newRow("row 6 ignored") << 6 << "Anna" << 5 << ""
                                   << "";
}

// Only the row written changes; the place numbers stay "1" to "5".
void TestRecordsWindow::setRow()
{
    QFETCH(int, row);
    QFETCH(QString, name);
    QFETCH(int, moves);
    QFETCH(QString, shownName);
    QFETCH(QString, shownMoves);
    m_window->setRow(row, name, qint16(moves));
    for (int n = 1; n <= 5; ++n) {
        QCOMPARE(label(QString("LblMesto_%1").arg(n - 1))->text(), QString::number(n));
        QCOMPARE(label(QString("Label2_%1").arg(n))->text(), n == row ? shownName : "LblName");
        QCOMPARE(label(QString("LblHod_%1").arg(n))->text(), n == row ? shownMoves : "0");
    }
}

void TestRecordsWindow::resultLine_data()
{
    QTest::addColumn<QStringList>("steps"); // "hide", "overtaken", or "show" and the moves
    QTest::addColumn<QString>("shown");     // null: no result line at all
    QTest::newRow("won in 25") << QStringList{"show 25"} << "Вы справились за 25 ходов";
    QTest::newRow("won in 1") << QStringList{"show 1"} << "Вы справились за 1 ходов";
    QTest::newRow("records command") << QStringList{"hide"} << QString();
    QTest::newRow("hidden, then won")
        << QStringList{"hide", "show 7"} << "Вы справились за 7 ходов";
    QTest::newRow("won, then hidden") << QStringList{"show 7", "hide"} << QString();
    QTest::newRow("overtaken") << QStringList{"overtaken"} << "Пока вводили имя, вас обошли";
}

// A shown result line stands on its light cyan band; a hidden one leaves no trace of it.
void TestRecordsWindow::resultLine()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    for (const QString &step : steps) {
        if (step == "hide")
            m_window->hideResult();
        else if (step == "overtaken")
            m_window->showOvertaken();
        else
            m_window->showResult(qint16(step.section(' ', 1).toInt()));
    }
    const QLabel *result = label("Label3");
    QCOMPARE(result->isVisible(), !shown.isNull());
    if (!shown.isNull())
        QCOMPARE(result->text(), shown);

    const QImage image = render(m_window.get());
    const QColor cyan(128, 255, 255);
    const qreal scale = image.devicePixelRatio();
    const QRect band(result->geometry().topLeft() * scale, result->size() * scale);
    if (shown.isNull()) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QVERIFY2(image.pixelColor(x, y) != cyan,
                         qPrintable(QString("cyan at %1, %2").arg(x).arg(y)));
    } else {
        for (QPoint corner :
             {band.topLeft(), band.topRight(), band.bottomLeft(), band.bottomRight()})
            QCOMPARE(image.pixelColor(corner), cyan);
    }
}

void TestRecordsWindow::pictureAndButton()
{
    const QPixmap trophy = label("Image1")->pixmap();
    QCOMPARE(trophy.deviceIndependentSize(), QSizeF(97, 153));
    QCOMPARE(trophy.devicePixelRatio(), m_window->devicePixelRatio());
    QCOMPARE(m_window->findChild<QPushButton *>("Command1")->text(), QLatin1String("Ok!"));
}

QTEST_MAIN(TestRecordsWindow)
#include "tst_recordswindow.moc"
