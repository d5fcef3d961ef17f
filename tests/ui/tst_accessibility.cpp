// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowtest.h"

#include "ui/frmmain.h"
#include "ui/tileimage.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

// What a screen reader is told about the main window, and what its actions do: the buttons by
// their words, the tiles by place and colour as they flip, and what the counter counts.
class TestAccessibility : public MainWindowTest
{
    Q_OBJECT

private slots:
    void buttonsSayTheirWords_data();
    void buttonsSayTheirWords();
    void tilesSayPlaceAndColour_data();
    void tilesSayPlaceAndColour();
    void pressingATileIsAMove();
    void actionsBehindAModalDoNothing_data();
    void actionsBehindAModalDoNothing();
    void counterSaysWhatItCounts();

private:
    QAccessibleInterface *accessible(const QString &name) const;
    QStringList tileNames() const;
    static QStringList expectedNames(const QString &board);
};

// The screen reader's view of an object, as an assistive technology queries it.
QAccessibleInterface *TestAccessibility::accessible(const QString &name) const
{
    QObject *object = m_window->findChild<QObject *>(name);
    return object ? QAccessible::queryAccessibleInterface(object) : nullptr;
}

QStringList TestAccessibility::tileNames() const
{
    QStringList names;
    for (int k = 0; k < 16; ++k)
        names << accessible(QString("Image1_%1").arg(k))->text(QAccessible::Name);
    return names;
}

QStringList TestAccessibility::expectedNames(const QString &board)
{
    QStringList names;
    for (int k = 0; k < 16; ++k)
        names << QString("Ряд %1, столбец %2: %3")
                     .arg(k / 4 + 1)
                     .arg(k % 4 + 1)
                     .arg(board[k] == u'1' ? "красная фишка" : "синяя фишка");
    return names;
}

void TestAccessibility::buttonsSayTheirWords_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("word");
    QTest::newRow("CmdNew") << "CmdNew"
                            << "Новая";
    QTest::newRow("CmdHelp") << "CmdHelp"
                             << "Правила";
    QTest::newRow("CmdRecord") << "CmdRecord"
                               << "Рекорды";
    QTest::newRow("cmdExit") << "cmdExit"
                             << "Выход";
}

void TestAccessibility::buttonsSayTheirWords()
{
    QFETCH(QString, button);
    QFETCH(QString, word);
    QAccessibleInterface *face = accessible(button);
    QVERIFY(face);
    QCOMPARE(face->role(), QAccessible::Button);
    QCOMPARE(face->text(QAccessible::Name), word);
    // The word is heard, never seen twice: the face carries it, the button has no text.
    QVERIFY(m_window->findChild<QPushButton *>(button)->text().isEmpty());
}

void TestAccessibility::tilesSayPlaceAndColour_data()
{
    QTest::addColumn<QString>("board");
    QTest::addColumn<int>("move");
    QTest::addColumn<QString>("after");
    QTest::newRow("all blue, top left") << "0000000000000000" << 0 << "1111100010001000";
    QTest::newRow("mixed, inner tile") << "0110100110010110" << 6 << "0100011010110100";
    QTest::newRow("winning move") << "1110111011100000" << 15 << "1111111111111111";
}

// The names follow the tags through a real click: the tiles of the row and column change, the
// others keep theirs.
void TestAccessibility::tilesSayPlaceAndColour()
{
    QFETCH(QString, board);
    QFETCH(int, move);
    QFETCH(QString, after);
    layBoard(m_window.get(), board);
    QCOMPARE(tileNames(), expectedNames(board));
    for (int k = 0; k < 16; ++k)
        QCOMPARE(accessible(QString("Image1_%1").arg(k))->role(), QAccessible::Button);

    if (after == QString(16, u'1'))
        answerWinDialogs("Тест");
    clickTile(m_window.get(), move);
    QCOMPARE(tileNames(), expectedNames(after));
}

// The press action of a tile is a click that follows from the event loop: it returns before the
// move, even the winning move and its name prompt; it makes a move while the board is open, and
// nothing once a won board is locked.
void TestAccessibility::pressingATileIsAMove()
{
    layBoard(m_window.get(), "0000011101110111");
    QAccessibleActionInterface *tile0 = accessible("Image1_0")->actionInterface();
    QVERIFY(tile0);
    QCOMPARE(tile0->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});

    answerWinDialogs("Тест");
    tile0->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(tileNames(), expectedNames("0000011101110111"));
    QTRY_COMPARE(tileNames(), expectedNames(QString(16, u'1')));
    QVERIFY(accessible("Image1_0")->state().disabled);

    tile0->doAction(QAccessibleActionInterface::pressAction());
    QTest::qWait(20);
    QCOMPARE(tileNames(), expectedNames(QString(16, u'1')));
    QCOMPARE(accessible("LblHod")->text(QAccessible::Name), "Ходов сделано: 1");
}

void TestAccessibility::actionsBehindAModalDoNothing_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("tile") << "Image1_0";
    QTest::newRow("button") << "CmdNew";
    QTest::newRow("menu item") << "MnuNew";
}

// With the records window open, a press on a control of the main window changes nothing, then
// or after the window has closed.
void TestAccessibility::actionsBehindAModalDoNothing()
{
    QFETCH(QString, control);
    layBoard(m_window.get(), "0000000000000000");
    clickTile(m_window.get(), 0);
    const QString before = board();

    QAccessibleInterface *target = accessible(control);
    if (!target) { // a menu item: a child of its menu
        QAccessibleInterface *menu = accessible("MnuFile");
        for (int i = 0; i < menu->childCount() && !target; ++i)
            if (menu->child(i)->text(QAccessible::Name) == "Новая")
                target = menu->child(i);
    }
    QVERIFY(target && target->actionInterface());
    whenModalOpens([&](QWidget *records) {
        target->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTest::qWait(300); // a button's press is an animated click, a tenth of a second long
        records->close();
    });
    QTest::mouseClick(m_window->findChild<QPushButton *>("CmdRecord"), Qt::LeftButton);
    QTest::qWait(300);
    QCOMPARE(board(), before);
    QCOMPARE(m_window->findChild<QLabel *>("LblHod")->text(), "1");
}

void TestAccessibility::counterSaysWhatItCounts()
{
    QCOMPARE(accessible("LblHod")->text(QAccessible::Name), "Ходов сделано: 0");
    layBoard(m_window.get(), "0110100110010110");
    clickTile(m_window.get(), 3);
    clickTile(m_window.get(), 12);
    QCOMPARE(accessible("LblHod")->text(QAccessible::Name), "Ходов сделано: 2");
    // The new-game command puts it back to 0.
    QTest::mouseClick(m_window->findChild<QPushButton *>("CmdNew"), Qt::LeftButton);
    QCOMPARE(accessible("LblHod")->text(QAccessible::Name), "Ходов сделано: 0");
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
