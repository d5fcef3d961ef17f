// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowtest.h"

#include "ui/frmmain.h"
#include "ui/tileimage.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

class TestMainWindow : public MainWindowTest
{
    Q_OBJECT

private slots:
    void windowFrame();
    void controlGeometry_data();
    void controlGeometry();
    void tileSquaresStandWhereDesigned();
    void lockedTileLooksUnchanged();
    void startState();
    void clickFlipsRowAndColumn();
    void winByRealClicksLocksBoard();
    void newGameUnlocks_data();
    void newGameUnlocks();
    void doubleClickIsOneMove();
    void slideOffIsNoMove();
    void keyboard_data();
    void keyboard();
    void cursorShowsOnlyWithFocus();
    void focusMarkOnPictureButton();
    void screenShowsOnlyWholeMoves();
    void exitQuestionNoChangesNothing_data();
    void exitQuestionNoChangesNothing();
    void exitQuestionYesEndsProgram();
    void exitQuestionIgnoresEscapeAndClose();
    void focusOrder();
    void menus();
    void menuOverflowArrow();
    void commandsReachTheirWindows_data();
    void commandsReachTheirWindows();

private:
    QLabel *counter() const;
    // Lays out a board from 16 characters '0' (blue) and '1' (red), the way a deal does.
    void lay(const QString &states);
    void clickTile(int k, QTest::MouseAction action = QTest::MouseClick);
    // Plays the first move of a game: a winning one, answering the record dialogs, or not.
    void playFirstMove(bool winning);
};

QLabel *TestMainWindow::counter() const
{
    return m_window->findChild<QLabel *>("LblHod");
}

void TestMainWindow::lay(const QString &states)
{
    layBoard(m_window.get(), states);
}

void TestMainWindow::clickTile(int k, QTest::MouseAction action)
{
    ::clickTile(m_window.get(), k, action);
}

void TestMainWindow::playFirstMove(bool winning)
{
    lay(winning ? "0000011101110111" : "0110100110010110");
    if (winning)
        answerWinDialogs("Тест");
    clickTile(0);
}

void TestMainWindow::windowFrame()
{
    QCOMPARE(m_window->windowTitle(), "Пирк-Перк");
    QCOMPARE(m_window->centralWidget()->size(), QSize(327, 233));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    // Without it Windows gives the window a sizing border, though it cannot be resized.
    QVERIFY(flags & Qt::MSWindowsFixedSizeDialogHint);
    QVERIFY(!m_window->windowIcon().isNull());
    const QPoint offCentre =
        m_window->frameGeometry().center() - m_window->screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 1,
             qPrintable(QString("off centre by %1, %2").arg(offCentre.x()).arg(offCentre.y())));
}

void TestMainWindow::controlGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Frame2") << "Frame2" << fromTwips(75, 75, 3135, 3330);
    QTest::newRow("Frame1") << "Frame1" << fromTwips(3360, 1800, 1500, 855);
    QTest::newRow("Label1") << "Label1" << fromTwips(480, 120, 615, 255);
    QTest::newRow("LblHod") << "LblHod" << fromTwips(600, 480, 375, 255);
    QTest::newRow("CmdNew") << "CmdNew" << fromTwips(3360, 120, 1500, 375);
    QTest::newRow("CmdHelp") << "CmdHelp" << fromTwips(3360, 600, 1500, 375);
    QTest::newRow("CmdRecord") << "CmdRecord" << fromTwips(3360, 1080, 1500, 375);
    QTest::newRow("cmdExit") << "cmdExit" << fromTwips(3360, 3000, 1500, 375);
    for (int k = 0; k < 16; ++k) {
        const QString name = QString("Image1_%1").arg(k);
        QTest::newRow(qPrintable(name))
            << name << fromTwips(120 + 720 * (k % 4), 240 + 720 * (k / 4), 750, 750);
    }
}

void TestMainWindow::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    const auto *control = m_window->findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->geometry(), geometry);
    const QString parent = name.startsWith("Image1") ? "Frame2"
                           : name.startsWith("L")    ? "Frame1"
                                                     : QString();
    QCOMPARE(control->parentWidget()->objectName(), parent);
}

// Tile 0's square covers client pixels 19..56 across and 27..64 down, tile 15's 163..200 and
// 171..208: 6 to 44 of the tile's 50 × 50 picture. Each is a pure red or blue square on white at
// any display scale, its edges on the device pixels nearest to them in the picture.
void TestMainWindow::tileSquaresStandWhereDesigned()
{
    const QImage client = render(m_window->centralWidget());
    const qreal scale = m_window->devicePixelRatio();
    QCOMPARE(client.size(), QSize(327, 233) * scale);
    const int picture = qRound(50 * scale);
    const int from = qRound(6 * picture / 50.0);
    const int to = qRound(44 * picture / 50.0);
    for (auto [k, left, top] : {std::tuple{0, 19, 27}, std::tuple{15, 163, 171}}) {
        const QColor colour = tile(k)->tag() == "1" ? QColor(255, 0, 0) : QColor(0, 0, 255);
        const QPoint origin = QPoint(left - 6, top - 6) * scale;
        const QRect square(origin + QPoint(from, from), origin + QPoint(to - 1, to - 1));
        for (int y = square.top() - 1; y <= square.bottom() + 1; ++y)
            for (int x = square.left() - 1; x <= square.right() + 1; ++x) {
                const QColor expected = square.contains(x, y) ? colour : QColor(Qt::white);
                QVERIFY2(client.pixelColor(x, y) == expected,
                         qPrintable(QString("tile %1 pixel %2,%3").arg(k).arg(x).arg(y)));
            }
    }
}

void TestMainWindow::lockedTileLooksUnchanged()
{
    const QImage enabled = render(tile(6));
    tile(6)->setEnabled(false);
    QCOMPARE(render(tile(6)), enabled);
}

void TestMainWindow::startState()
{
    QCOMPARE(counter()->text(), "0");
    const auto *blue = m_window->findChild<TileImage *>("Img0");
    const auto *red = m_window->findChild<TileImage *>("Img1");
    QVERIFY(blue && red && !blue->isVisible() && !red->isVisible());
    for (int k = 0; k < 16; ++k) {
        QVERIFY(tile(k)->isEnabled());
        QVERIFY(tile(k)->tag() == "0" || tile(k)->tag() == "1");
        const TileImage *holder = tile(k)->tag() == "1" ? red : blue;
        QCOMPARE(tile(k)->picture().toImage(), holder->picture().toImage());
    }
    QCOMPARE(QApplication::focusWidget(), m_window->findChild<QWidget *>("CmdNew"));
}

void TestMainWindow::clickFlipsRowAndColumn()
{
    lay("0000000000000000");
    clickTile(0);
    QCOMPARE(board(), "1111100010001000");
    QCOMPARE(counter()->text(), "1");
    QCOMPARE(QApplication::focusWidget(), m_window->findChild<QWidget *>("CmdNew"));
    QCOMPARE(tile(12)->picture().toImage(),
             m_window->findChild<TileImage *>("Img1")->picture().toImage());
}

void TestMainWindow::winByRealClicksLocksBoard()
{
    lay("1110111011100000"); // tile 15's row and column are blue
    clickTile(5);
    clickTile(5);
    answerWinDialogs("Тест");
    clickTile(15);
    QCOMPARE(board(), QString(16, u'1'));
    QCOMPARE(counter()->text(), "3");
    for (int k = 0; k < 16; ++k)
        QVERIFY(!tile(k)->isEnabled());

    clickTile(0);
    clickTile(15);
    QCOMPARE(board(), QString(16, u'1'));
    QCOMPARE(counter()->text(), "3");
}

void TestMainWindow::newGameUnlocks_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("CmdNew") << false;
    QTest::newRow("MnuNew") << true;
}

void TestMainWindow::newGameUnlocks()
{
    QFETCH(bool, fromMenu);
    playFirstMove(true);
    QCOMPARE(counter()->text(), "1");
    QVERIFY(!tile(3)->isEnabled());

    if (fromMenu)
        chooseMenuItem(m_window.get(), "MnuNew");
    else
        QTest::mouseClick(m_window->findChild<QPushButton *>("CmdNew"), Qt::LeftButton);

    QCOMPARE(counter()->text(), "0");
    for (int k = 0; k < 16; ++k)
        QVERIFY(tile(k)->isEnabled());
}

void TestMainWindow::doubleClickIsOneMove()
{
    lay("0000000000000000");
    clickTile(5, QTest::MouseDClick);
    QCOMPARE(board(), "0100111101000100");
    QCOMPARE(counter()->text(), "1");

    clickTile(5);
    QCOMPARE(board(), "0000000000000000");
    QCOMPARE(counter()->text(), "2");
}

// A click is a press and a release over the same tile: sliding off before the release is none.
void TestMainWindow::slideOffIsNoMove()
{
    lay("0000000000000000");
    clickTile(5, QTest::MousePress);
    QCOMPARE(counter()->text(), "0");
    clickTile(6, QTest::MouseRelease);
    QCOMPARE(board(), "0000000000000000");
    QCOMPARE(counter()->text(), "0");
}

void TestMainWindow::keyboard_data()
{
    // Keys: arrows U D L R, Space _, Enter E, Return N, Tab T, Shift+Tab B, Escape X.
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("after"); // the board, laid all blue; empty after a new game
    QTest::addColumn<QString>("count");
    const QString blue(16, u'0');
    QTest::newRow("first arrow: tile 0") << "CmdNew"
                                         << "R_"
                                         << "Frame2"
                                         << "1111100010001000"
                                         << "1";
    QTest::newRow("arrows, Enter") << "CmdNew"
                                   << "DDRE"
                                   << "Frame2"
                                   << "0100111101000100"
                                   << "1";
    QTest::newRow("edges stop it") << "CmdNew"
                                   << "ULRRRRRDDDDN"
                                   << "Frame2"
                                   << "0001000100011111"
                                   << "1";
    QTest::newRow("back to the last tile") << "CmdNew"
                                           << "DRXU_"
                                           << "Frame2"
                                           << "1111010001000100"
                                           << "1";
    QTest::newRow("Escape") << "cmdExit"
                            << "DX"
                            << "cmdExit" << blue << "0";
    QTest::newRow("Tab") << "cmdExit"
                         << "DT"
                         << "CmdHelp" << blue << "0";
    QTest::newRow("Shift+Tab") << "CmdNew"
                               << "DB"
                               << "CmdRecord" << blue << "0";
    QTest::newRow("Enter on a button") << "CmdNew"
                                       << "D_XE"
                                       << "CmdNew" << QString() << "0";
}

// Keys as the window system delivers them, from a button with the focus.
void TestMainWindow::keyboard()
{
    QFETCH(QString, from);
    QFETCH(QString, keys);
    QFETCH(QString, focus);
    QFETCH(QString, after);
    QFETCH(QString, count);
    const QHash<QChar, Qt::Key> key = {{u'U', Qt::Key_Up},      {u'D', Qt::Key_Down},
                                       {u'L', Qt::Key_Left},    {u'R', Qt::Key_Right},
                                       {u'_', Qt::Key_Space},   {u'E', Qt::Key_Enter},
                                       {u'N', Qt::Key_Return},  {u'T', Qt::Key_Tab},
                                       {u'B', Qt::Key_Backtab}, {u'X', Qt::Key_Escape}};
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    lay(QString(16, u'0'));
    m_window->findChild<QWidget *>(from)->setFocus();
    for (QChar name : keys)
        QTest::keyClick(m_window->windowHandle(), key[name]);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    if (!after.isEmpty())
        QCOMPARE(board(), after);
    QCOMPARE(counter()->text(), count);
}

// A black ring in the white margin of the cursor's tile, only while the board has the focus; the
// tile is then the focused one for a screen reader.
void TestMainWindow::cursorShowsOnlyWithFocus()
{
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    const QImage plain = render(tile(0));
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Down);
    const QImage ringed = render(tile(0));
    const qreal scale = m_window->devicePixelRatio();
    for (auto [x, y, colour] :
         {std::tuple{2, 25, Qt::black}, std::tuple{47, 25, Qt::black}, std::tuple{25, 3, Qt::black},
          std::tuple{25, 46, Qt::black}, std::tuple{1, 25, Qt::white}, std::tuple{4, 25, Qt::white},
          std::tuple{25, 48, Qt::white}, std::tuple{45, 25, Qt::white}})
        QVERIFY2(ringed.pixelColor(QPointF(x * scale, y * scale).toPoint()) == QColor(colour),
                 qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
    QVERIFY(QAccessible::queryAccessibleInterface(tile(0))->state().focused);
    QVERIFY(!QAccessible::queryAccessibleInterface(tile(1))->state().focused);
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Escape);
    QCOMPARE(render(tile(0)), plain);
    QVERIFY(!QAccessible::queryAccessibleInterface(tile(0))->state().focused);
}

// A dotted black rectangle three pixels inside the focused picture button, from the start, on
// every display scale; the other buttons show their bare faces.
void TestMainWindow::focusMarkOnPictureButton()
{
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    const qreal scale = m_window->devicePixelRatio();
    const int dot = qMax(1, qRound(scale));
    auto marked = [&](const char *name) {
        const QImage face = render(m_window->findChild<QWidget *>(name));
        for (int x = qRound(3 * scale); x < qRound(50 * scale); x += 2 * dot)
            for (int y : {qRound(3 * scale), qRound(22 * scale) - dot})
                if (face.pixelColor(x, y) != Qt::black || face.pixelColor(x + dot, y) == Qt::black)
                    return false;
        return true;
    };
    QVERIFY(marked("CmdNew"));
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Tab);
    QVERIFY(marked("cmdExit"));
    QVERIFY(!marked("CmdNew"));
}

// A move repaints nothing while it runs: every picture painted belongs to the finished board.
void TestMainWindow::screenShowsOnlyWholeMoves()
{
    struct PaintWatch : QObject
    {
        TestMainWindow *test;
        QStringList boardsPainted;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                boardsPainted << test->board();
            return false;
        }
    } watch;
    watch.test = this;
    for (int k = 0; k < 16; ++k)
        tile(k)->installEventFilter(&watch);

    lay("0000000000000000");
    QCoreApplication::processEvents();
    watch.boardsPainted.clear();
    clickTile(10);
    QCoreApplication::processEvents();
    QVERIFY(!watch.boardsPainted.isEmpty());
    for (const QString &painted : watch.boardsPainted)
        QCOMPARE(painted, "0010001011110010");
}

void TestMainWindow::exitQuestionNoChangesNothing_data()
{
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("playing, button") << false << false;
    QTest::newRow("locked, menu") << true << true;
}

void TestMainWindow::exitQuestionNoChangesNothing()
{
    QFETCH(bool, locked);
    QFETCH(bool, fromMenu);
    playFirstMove(locked);
    const QString before = board();
    const QString count = counter()->text();

    bool asked = false;
    whenModalOpens([&](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QVERIFY(box);
        asked = true;
        QCOMPARE(box->windowTitle(), "Пирк - Перк");
        QCOMPARE(box->text(), "Вы действительно хотите выйти из программы");
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        const QList<QAbstractButton *> buttons = box->buttons();
        QCOMPARE(buttons.size(), 2);
        QCOMPARE(box->button(QMessageBox::Yes)->text(), "Да");
        QCOMPARE(box->button(QMessageBox::No)->text(), "Нет");
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        box->button(QMessageBox::No)->click();
    });
    if (fromMenu)
        chooseMenuItem(m_window.get(), "MnuExit");
    else
        QTest::mouseClick(m_window->findChild<QPushButton *>("cmdExit"), Qt::LeftButton);

    QVERIFY(asked);
    QVERIFY(m_window->isVisible());
    QCOMPARE(board(), before);
    QCOMPARE(counter()->text(), count);
    for (int k = 0; k < 16; ++k)
        QCOMPARE(tile(k)->isEnabled(), !locked);
}

void TestMainWindow::exitQuestionYesEndsProgram()
{
    whenModalOpens([](QWidget *dialog) {
        qobject_cast<QMessageBox *>(dialog)->button(QMessageBox::Yes)->click();
    });
    QTimer::singleShot(0, m_window.get(), &FrmMain::ExitProgram);
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(1); }); // "Да" did not end it
    QCOMPARE(QCoreApplication::exec(), 0);
}

// Only "Да" and "Нет" answer the exit question.
void TestMainWindow::exitQuestionIgnoresEscapeAndClose()
{
    bool open = false;
    whenModalOpens([&](QWidget *dialog) {
        QVERIFY(!(dialog->windowFlags() & Qt::WindowCloseButtonHint));
        QTest::keyClick(dialog, Qt::Key_Escape);
        dialog->windowHandle()->close();
        open = dialog->isVisible();
        qobject_cast<QMessageBox *>(dialog)->button(QMessageBox::No)->click();
    });
    m_window->ExitProgram();
    QVERIFY(open);
}

void TestMainWindow::focusOrder()
{
    QStringList order;
    QWidget *widget = m_window->findChild<QWidget *>("CmdNew");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget->objectName() != "CmdNew");
    QCOMPARE(order, (QStringList{"CmdNew", "cmdExit", "CmdHelp", "CmdRecord"}));
}

void TestMainWindow::menus()
{
    QStringList seen;
    for (QAction *menuAction : m_window->menuBar()->actions()) {
        QMenu *menu = menuAction->menu();
        QVERIFY(menu);
        seen << menu->objectName() + ":" + menu->title();
        for (QAction *item : menu->actions()) {
            seen << item->objectName() + ":" + item->text();
            QVERIFY(!item->isSeparator() && !item->isCheckable());
            QVERIFY(item->isEnabled() && item->isVisible());
            QVERIFY(item->shortcut().isEmpty());
        }
    }
    QCOMPARE(seen, (QStringList{"MnuFile:Игра", "MnuNew:Новая", "Records:Рекорды", "MnuExit:Выход",
                                "MnuHelp:Помощь", "MnuPravila:Правила", "MnuAbout:О программе"}));
}

// The game's style fetches the menu bar's overflow arrow only when the button shows, which in the
// main window it never does; where menus do not fit, the button has its arrow.
void TestMainWindow::menuOverflowArrow()
{
    const auto overflowButton = [](QMenuBar *bar) {
        return bar->findChild<QToolButton *>("qt_menubar_ext_button");
    };
    QVERIFY(overflowButton(m_window->menuBar())->icon().isNull());

    QMenuBar bar;
    for (int i = 0; i < 8; ++i)
        bar.addMenu("Длинное меню");
    bar.resize(120, bar.sizeHint().height());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QToolButton *arrow = overflowButton(&bar);
    QVERIFY(arrow->isVisible());
    QVERIFY(!arrow->icon().isNull());
    QVERIFY(!arrow->icon().pixmap(16).isNull());
}

void TestMainWindow::commandsReachTheirWindows_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("locked");
    QTest::newRow("CmdRecord") << "CmdRecord"
                               << "FrmRecord" << false;
    QTest::newRow("Records") << "Records"
                             << "FrmRecord" << true;
    QTest::newRow("CmdHelp") << "CmdHelp"
                             << "FrmHelp" << false;
    QTest::newRow("MnuPravila") << "MnuPravila"
                                << "FrmHelp" << true;
    QTest::newRow("MnuAbout") << "MnuAbout"
                              << "FrmAbout" << false;
}

// The windows open modally over the main window and are gone when closed; the game is as it was.
void TestMainWindow::commandsReachTheirWindows()
{
    QFETCH(QString, control);
    QFETCH(QString, window);
    QFETCH(bool, locked);
    playFirstMove(locked);
    const QString before = board();
    const QString count = counter()->text();

    QString opened;
    QWidget *owner = nullptr;
    bool modal = false;
    QPointer<QWidget> dialog;
    whenModalOpens([&](QWidget *shown) {
        dialog = shown;
        opened = shown->objectName();
        owner = shown->parentWidget();
        modal = shown->isModal();
        QTest::mouseClick(shown->findChild<QPushButton *>(), Qt::LeftButton);
    });
    if (auto *button = m_window->findChild<QPushButton *>(control))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        chooseMenuItem(m_window.get(), control);

    QCOMPARE(opened, window);
    QCOMPARE(owner, m_window.get());
    QVERIFY(modal);
    QVERIFY(dialog.isNull());
    QCOMPARE(board(), before);
    QCOMPARE(counter()->text(), count);
    for (int k = 0; k < 16; ++k)
        QCOMPARE(tile(k)->isEnabled(), !locked);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
