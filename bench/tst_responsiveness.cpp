// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowtest.h"

#include "records/recordentry.h"
#include "ui/frmmain.h"
#include "ui/tileimage.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

// Answers every dialog as soon as it has been shown and painted once, as a quick player would:
// the name prompt with a name, any other dialog (the records window) with its button. It answers
// within the same turn of the event loop, so that the dialog's own work is all that is measured.
class DialogAnswerer : public QObject
{
public:
    DialogAnswerer() { qApp->installEventFilter(this); }
    ~DialogAnswerer() override { qApp->removeEventFilter(this); }

    QStringList answered;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *dialog = qobject_cast<QDialog *>(object);
        if (event->type() == QEvent::Show && dialog && dialog->isWindow())
            QMetaObject::invokeMethod(
                dialog, [this, dialog] { answer(dialog); }, Qt::QueuedConnection);
        return false;
    }

private:
    void answer(QDialog *dialog)
    {
        dialog->repaint();
        answered << dialog->objectName();
        if (auto *prompt = qobject_cast<QInputDialog *>(dialog)) {
            prompt->setTextValue("Быстрый");
            prompt->accept();
        } else {
            dialog->findChild<QPushButton *>("Command1")->click();
        }
    }
};

// Counts the paint events each watched widget receives.
class PaintCounter : public QObject
{
public:
    void watch(QWidget *widget)
    {
        widget->installEventFilter(this);
        counts[widget] = 0;
    }

    QHash<QObject *, int> counts;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++counts[object];
        return false;
    }
};

} // namespace

// How fast the game answers the player, on the real main window: a move, a new game, the records
// window, a won game. Each step includes the repaint of what it changed.
class TestResponsiveness : public MainWindowTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void moveRepaintsChangedTilesAndCounter();
    void move();
    void keyboardMove();
    void newGame();
    void recordsWindow();
    void wonGame();
    void nothingGrowsWithGamesPlayed();

private:
    // Records.dat with five results of 10 to 50 moves: a full table that a win in one move enters.
    void writeFullTable() const;
    QPushButton *button(const char *name) const;
    void winInOneMove();

    std::unique_ptr<DialogAnswerer> m_answerer;
};

void TestResponsiveness::init()
{
    MainWindowTest::init();
    writeFullTable();
    m_answerer = std::make_unique<DialogAnswerer>();
}

void TestResponsiveness::cleanup()
{
    m_answerer.reset();
    MainWindowTest::cleanup();
}

void TestResponsiveness::writeFullTable() const
{
    QByteArray table;
    for (int n = 1; n <= 5; ++n) {
        RecordEntry entry;
        entry.setName(QString("Игрок %1").arg(n));
        entry.setMoves(qint16(10 * n));
        table += entry.toRecord();
    }
    QFile file(recordsPath());
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(table) == 60);
}

QPushButton *TestResponsiveness::button(const char *name) const
{
    return m_window->findChild<QPushButton *>(name);
}

void TestResponsiveness::winInOneMove()
{
    layBoard(m_window.get(), "0000011101110111");
    clickTile(m_window.get(), 0);
    QCoreApplication::processEvents();
}

// What the move benchmark measures is a whole move: the click flips the seven tiles of the
// clicked tile's row and column, and the next turn of the event loop repaints them and the
// counter, each once.
void TestResponsiveness::moveRepaintsChangedTilesAndCounter()
{
    layBoard(m_window.get(), QString(16, u'0'));
    QCoreApplication::processEvents();
    PaintCounter painted;
    for (int k = 0; k < 16; ++k)
        painted.watch(tile(k));
    QLabel *counter = m_window->findChild<QLabel *>("LblHod");
    painted.watch(counter);

    clickTile(m_window.get(), 5);
    QCoreApplication::processEvents();

    QCOMPARE(counter->text(), "1");
    QCOMPARE(painted.counts[counter], 1);
    for (int k = 0; k < 16; ++k) {
        const bool changed = k / 4 == 1 || k % 4 == 1;
        QCOMPARE(tile(k)->tag(), changed ? "1" : "0");
        // A neighbour of a changed tile is painted too, where the two overlap.
        if (changed)
            QCOMPARE(painted.counts[tile(k)], 1);
        else
            QVERIFY(painted.counts[tile(k)] <= 1);
    }
}

// Tiles 0 and 15 by turns, so that no two clicks make a double click and the board never
// comes out solved.
void TestResponsiveness::move()
{
    layBoard(m_window.get(), QString(16, u'0'));
    QCoreApplication::processEvents();
    int k = 0;
    QBENCHMARK
    {
        clickTile(m_window.get(), k);
        QCoreApplication::processEvents();
        k = 15 - k;
    }
    QVERIFY(m_window->findChild<QLabel *>("LblHod")->text().toInt() > 0);
}

// The same move from the keyboard: Space on the board's cursor, on tile 0 each time.
void TestResponsiveness::keyboardMove()
{
    m_window->activateWindow(); // no window manager does it on a bare X server
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    layBoard(m_window.get(), QString(16, u'0'));
    QTest::keyClick(m_window->windowHandle(), Qt::Key_Down);
    QCoreApplication::processEvents();
    QBENCHMARK
    {
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Space);
        QCoreApplication::processEvents();
    }
    QVERIFY(m_window->findChild<QLabel *>("LblHod")->text().toInt() > 0);
}

void TestResponsiveness::newGame()
{
    QPushButton *cmdNew = button("CmdNew");
    QBENCHMARK
    {
        QTest::mouseClick(cmdNew, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    QCOMPARE(m_window->findChild<QLabel *>("LblHod")->text(), "0");
}

// The records command: the window is made, filled from the 60-byte file, shown, painted and
// closed again.
void TestResponsiveness::recordsWindow()
{
    QPushButton *cmdRecord = button("CmdRecord");
    QBENCHMARK
    {
        QTest::mouseClick(cmdRecord, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    QVERIFY(!m_answerer->answered.isEmpty());
    QCOMPARE(QSet<QString>(m_answerer->answered.begin(), m_answerer->answered.end()),
             QSet<QString>{"FrmRecord"});
}

// The whole win path: the winning move, the name prompt answered, the table sorted and saved,
// the records window shown and closed. Each round starts a new game (see newGame() for its share)
// and sets the file back, so that every win enters the table.
void TestResponsiveness::wonGame()
{
    QPushButton *cmdNew = button("CmdNew");
    int rounds = 0;
    QBENCHMARK
    {
        writeFullTable();
        QTest::mouseClick(cmdNew, Qt::LeftButton);
        winInOneMove();
        ++rounds;
    }
    QStringList expected;
    for (int round = 0; round < rounds; ++round)
        expected << "NamePrompt"
                 << "FrmRecord";
    QCOMPARE(m_answerer->answered, expected);
    QFile file(recordsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(RecordEntry::fromRecord(file.read(12)).moves(), 1);
}

// However many games are played, no window, widget or byte of the file is left behind.
void TestResponsiveness::nothingGrowsWithGamesPlayed()
{
    auto playRound = [this] {
        winInOneMove();
        QTest::mouseClick(button("CmdRecord"), Qt::LeftButton);
        QTest::mouseClick(button("CmdNew"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    };
    auto footprint = [this] {
        return QList<qsizetype>{
            QApplication::topLevelWidgets().size(), QApplication::allWidgets().size(),
            m_window->findChildren<QObject *>().size(), QFileInfo(recordsPath()).size()};
    };

    playRound();
    const QList<qsizetype> afterOne = footprint();
    for (int game = 0; game < 30; ++game)
        playRound();
    QCOMPARE(footprint(), afterOne);
    QCOMPARE(m_answerer->answered.count("FrmRecord"), 31 * 2);
    QCOMPARE(afterOne.last(), 60);
}

QTEST_MAIN(TestResponsiveness)
#include "tst_responsiveness.moc"
