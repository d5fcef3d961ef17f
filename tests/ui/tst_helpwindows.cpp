// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowtest.h"

#include "ui/application.h"
#include "ui/designfont.h"
#include "ui/frmabout.h"
#include "ui/frmhelp.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

// The contents of the rules window FrmHelp and the about window FrmAbout.
class TestHelpWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void controlGeometry_data();
    void controlGeometry();
    void labels_data();
    void labels();
    void buttonsSayOkInCyrillic_data();
    void buttonsSayOkInCyrillic();
    void linesAreOnePixelOfText_data();
    void linesAreOnePixelOfText();
    void faceIsDrawnAtItsSize();

private:
    QWidget *window(const QString &name) const
    {
        return name == "FrmHelp" ? static_cast<QWidget *>(m_help.get()) : m_about.get();
    }

    std::unique_ptr<FrmHelp> m_help;
    std::unique_ptr<FrmAbout> m_about;
};

// A line given by its end points in twips covers the pixels between them, both included.
static QRect lineFromTwips(int left, int right, int top)
{
    return QRect(fromTwips(left, top, 0, 0).topLeft(), fromTwips(right, top, 0, 0).topLeft());
}

void TestHelpWindows::initTestCase()
{
    setUpGame(*qApp);
    m_help = std::make_unique<FrmHelp>();
    m_about = std::make_unique<FrmAbout>();
    m_help->show();
    m_about->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_help.get()));
    QVERIFY(QTest::qWaitForWindowExposed(m_about.get()));
}

void TestHelpWindows::cleanupTestCase()
{
    m_help.reset();
    m_about.reset();
}

void TestHelpWindows::controlGeometry_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    auto row = [](const char *window, const char *name, QRect geometry) {
        QTest::addRow("%s.%s", window, name) << window << name << geometry;
    };
    row("FrmHelp", "Label4", fromTwips(120, 120, 3015, 255));
    row("FrmHelp", "Line2", lineFromTwips(120, 3240, 600));
    row("FrmHelp", "Label1", fromTwips(120, 720, 3015, 1815));
    row("FrmHelp", "Line3", lineFromTwips(120, 3120, 2640));
    row("FrmHelp", "Label5", fromTwips(360, 2760, 2535, 255));
    row("FrmHelp", "Label6", fromTwips(120, 3120, 3015, 615));
    row("FrmHelp", "Line1", lineFromTwips(120, 3120, 3960));
    row("FrmHelp", "Command1", fromTwips(1800, 4080, 1335, 300));
    row("FrmAbout", "Image1", fromTwips(120, 240, 600, 600));
    row("FrmAbout", "Label1", fromTwips(960, 240, 3015, 255));
    row("FrmAbout", "Label2", fromTwips(960, 600, 3015, 255));
    row("FrmAbout", "Label3", fromTwips(960, 1200, 2895, 255));
    row("FrmAbout", "Label5", fromTwips(960, 1560, 2775, 255));
    row("FrmAbout", "Label6", fromTwips(960, 1920, 2295, 255));
    row("FrmAbout", "Line1", lineFromTwips(120, 3960, 2280));
    row("FrmAbout", "Label4", fromTwips(120, 2640, 2055, 300));
    row("FrmAbout", "CmdClose", fromTwips(2520, 2640, 1455, 300));
}

void TestHelpWindows::controlGeometry()
{
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    const auto *control = this->window(window)->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), this->window(window));
    QCOMPARE(control->geometry(), geometry);
}

void TestHelpWindows::labels_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");  // null: a credit line of our own, any text
    QTest::addColumn<QColor>("colour"); // invalid: the standard text colour
    QTest::addColumn<qreal>("points");
    QTest::addColumn<int>("alignment");
    const QColor blue(0, 0, 255);
    const QColor red(255, 0, 0);
    const QColor standard;
    QTest::newRow("FrmHelp.Label4") << "FrmHelp"
                                    << "Label4"
                                    << "ИГРА -ГОЛОВОЛОМКА" << blue << 8.25 << int(Qt::AlignHCenter);
    QTest::newRow("FrmHelp.Label1")
        << "FrmHelp"
        << "Label1"
        << "На игровом поле 4 на 4 клетки в произвольном порядке располгаются фишки Красного и "
           "Синего цветов. Щелчок мышки на любой из фишек приводит к тому, что все фишки "
           "образующие столбец и строку с выбранной фишкой, меняют свой цвет - Синяя становится "
           "Красной, и наоборот."
        << standard << 8.25 << int(Qt::AlignHCenter);
    QTest::newRow("FrmHelp.Label5") << "FrmHelp"
                                    << "Label5"
                                    << "ЦЕЛЬ ИГРЫ" << blue << 8.25 << int(Qt::AlignHCenter);
    QTest::newRow("FrmHelp.Label6") << "FrmHelp"
                                    << "Label6"
                                    << "Добиться, чтобы в результате все клетки игрового поля "
                                       "были заполнены фишками Красного цвета."
                                    << red << 8.25 << int(Qt::AlignHCenter);
    QTest::newRow("FrmAbout.Label1")
        << "FrmAbout"
        << "Label1"
        << "Логическая игра \"Пирк-Перк\"" << blue << 9.75 << int(Qt::AlignLeft);
    QTest::newRow("FrmAbout.Label2") << "FrmAbout"
                                     << "Label2"
                                     << "Версия 1.0" << standard << 8.25 << int(Qt::AlignLeft);
    for (const char *credit : {"Label3", "Label5", "Label6"})
        QTest::addRow("FrmAbout.%s", credit)
            << "FrmAbout" << credit << QString() << standard << 8.25 << int(Qt::AlignLeft);
    QTest::newRow("FrmAbout.Label4")
        << "FrmAbout"
        << "Label4" << QString() << standard << 9.75 << int(Qt::AlignLeft);
}

void TestHelpWindows::labels()
{
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QFETCH(qreal, points);
    QFETCH(int, alignment);
    const auto *label = this->window(window)->findChild<QLabel *>(name);
    QVERIFY(label);

    if (text.isNull())
        QVERIFY(!label->text().isEmpty());
    else
        QCOMPARE(label->text(), text);
    QCOMPARE(label->palette().color(QPalette::WindowText),
             colour.isValid() ? colour : QApplication::palette().color(QPalette::WindowText));
    QCOMPARE(label->font().pointSizeF(), points);
    QVERIFY(!label->font().bold());
    QCOMPARE(QFontInfo(label->font()).family(), QFontInfo(designFont()).family());
    QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), alignment);
    QVERIFY(label->wordWrap());

    const QRect space = label->contentsRect();
    const QRect needed =
        QFontMetrics(label->font())
            .boundingRect(space, int(label->alignment()) | Qt::TextWordWrap, label->text());
    QVERIFY2(space.contains(needed), qPrintable(QString("needs %1 × %2 at %3, %4")
                                                    .arg(needed.width())
                                                    .arg(needed.height())
                                                    .arg(needed.left())
                                                    .arg(needed.top())));
}

void TestHelpWindows::buttonsSayOkInCyrillic_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::newRow("FrmHelp") << "FrmHelp"
                             << "Command1";
    QTest::newRow("FrmAbout") << "FrmAbout"
                              << "CmdClose";
}

void TestHelpWindows::buttonsSayOkInCyrillic()
{
    QFETCH(QString, window);
    QFETCH(QString, name);
    const auto *button = this->window(window)->findChild<QPushButton *>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), QStringView(u"\u041E\u043A!").toString());
}

void TestHelpWindows::linesAreOnePixelOfText_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QRect>("line");
    QTest::newRow("FrmHelp.Line2") << "FrmHelp" << lineFromTwips(120, 3240, 600);
    QTest::newRow("FrmHelp.Line3") << "FrmHelp" << lineFromTwips(120, 3120, 2640);
    QTest::newRow("FrmHelp.Line1") << "FrmHelp" << lineFromTwips(120, 3120, 3960);
    QTest::newRow("FrmAbout.Line1") << "FrmAbout" << lineFromTwips(120, 3960, 2280);
}

// The line's pixels are the text colour; the pixels around it are the background.
void TestHelpWindows::linesAreOnePixelOfText()
{
    QFETCH(QString, window);
    QFETCH(QRect, line);
    const QImage image = render(this->window(window));
    const qreal scale = image.devicePixelRatio();
    const QRect pixels(line.topLeft() * scale, line.size() * scale);
    const QColor text = QApplication::palette().color(QPalette::WindowText);
    const QColor background = QApplication::palette().color(QPalette::Window);
    for (int y = pixels.top() - 1; y <= pixels.bottom() + 1; ++y)
        for (int x = pixels.left() - 1; x <= pixels.right() + 1; ++x)
            QVERIFY2(image.pixelColor(x, y) == (pixels.contains(x, y) ? text : background),
                     qPrintable(QString("pixel %1, %2").arg(x).arg(y)));
}

void TestHelpWindows::faceIsDrawnAtItsSize()
{
    const QPixmap face = m_about->findChild<QLabel *>("Image1")->pixmap();
    QCOMPARE(face.deviceIndependentSize(), QSizeF(40, 40));
    QCOMPARE(face.devicePixelRatio(), m_about->devicePixelRatio());
}

QTEST_MAIN(TestHelpWindows)
#include "tst_helpwindows.moc"
