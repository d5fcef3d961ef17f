// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowtest.h"

#include "ui/frmmain.h"
#include "ui/tileimage.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <array>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int RandomMoves = 100000;
constexpr int NewGames = 1000;
constexpr int Wins = 200;
constexpr int Showings = 1000;

// The record table as the rules say it must be, kept apart from the game's own: a result enters
// when slot 5 is empty or holds more moves, and then stands below every entry with as few moves
// or fewer and above the rest, slot 5's old entry dropped.
class TableModel
{
public:
    struct Entry
    {
        QString shown;
        QByteArray bytes = QByteArray(10, '\0');
        int moves = 0;
    };

    bool qualifies(int moves) const { return m_slots[4].moves == 0 || moves < m_slots[4].moves; }

    void enter(const Entry &entry)
    {
        m_slots.removeLast();
        qsizetype at = 0;
        while (at < m_slots.size() && m_slots[at].moves != 0 && m_slots[at].moves <= entry.moves)
            ++at;
        m_slots.insert(at, entry);
    }

    // The records window's rows as "place|name|moves".
    QStringList rows() const
    {
        QStringList rows;
        for (int n = 1; n <= 5; ++n)
            rows << u"%1|%2|%3"_s.arg(n).arg(m_slots[n - 1].shown).arg(m_slots[n - 1].moves);
        return rows;
    }

    QByteArray fileBytes() const
    {
        QByteArray bytes;
        for (const Entry &entry : m_slots)
            bytes += entry.bytes + char(entry.moves & 0xFF) + char(entry.moves >> 8 & 0xFF);
        return bytes;
    }

private:
    QList<Entry> m_slots = QList<Entry>(5);
};

// The board after a move on tile k: its row and column flipped, the tile itself once.
QString flipped(QString board, int k)
{
    for (int i = 0; i < 16; ++i) {
        if (i / 4 == k / 4 || i % 4 == k % 4)
            board[i] = board[i] == u'1' ? u'0' : u'1';
    }
    return board;
}

// Winner i's name and how the file must hold it: "Игрок i", or ten spaces for every tenth winner,
// who cancels the prompt.
TableModel::Entry winner(int i)
{
    if (i % 10 == 0)
        return {QString(10, u' '), QByteArray(10, ' '), 0};
    const QByteArray number = QByteArray::number(i);
    return {u"Игрок %1"_s.arg(i).leftJustified(10),
            (QByteArray("\xC8\xE3\xF0\xEE\xEA ") + number).leftJustified(10), 0};
}

// Answers every dialog the moment it is shown, the way the test has set, and notes which opened.
class DialogAnswers : public QObject
{
public:
    DialogAnswers() { qApp->installEventFilter(this); }
    ~DialogAnswers() override { qApp->removeEventFilter(this); }

    // The name the next prompt is given; a null name cancels it.
    QString name;
    // Closes the next windows with their close box instead of their button.
    bool closeBox = false;

    QStringList opened;
    QStringList rows;
    QString resultLine;
    QList<QPointer<QDialog>> shown;

    void clear()
    {
        opened.clear();
        rows.clear();
        resultLine.clear();
        shown.clear();
    }

    bool allGone() const
    {
        return std::all_of(shown.begin(), shown.end(), [](const auto &d) { return d.isNull(); });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            auto *dialog = qobject_cast<QDialog *>(watched);
            if (dialog && dialog->isWindow())
                QMetaObject::invokeMethod(
                    dialog, [this, dialog] { answer(dialog); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void answer(QDialog *dialog)
    {
        opened << dialog->objectName();
        shown << dialog;
        if (auto *prompt = qobject_cast<QInputDialog *>(dialog)) {
            if (name.isNull())
                return prompt->reject();
            prompt->setTextValue(name);
            return prompt->accept();
        }
        if (dialog->objectName() == u"FrmRecord") {
            const auto text = [dialog](const QString &label) {
                return dialog->findChild<QLabel *>(label)->text();
            };
            for (int n = 1; n <= 5; ++n)
                rows << text(u"LblMesto_%1"_s.arg(n - 1)) + u'|' + text(u"Label2_%1"_s.arg(n)) +
                            u'|' + text(u"LblHod_%1"_s.arg(n));
            const auto *line = dialog->findChild<QLabel *>(u"Label3"_s);
            resultLine = line->isVisibleTo(dialog) ? line->text() : u"hidden"_s;
        }
        if (closeBox)
            dialog->close();
        else if (auto *button = dialog->findChild<QPushButton *>())
            button->click();
        else
            dialog->reject();
    }
};

} // namespace

// A long offscreen session on the real main window: random moves, new games, wins with the name
// prompt answered, and every window opened and closed again and again. After each step the
// board, the counter, the records file and every window shown are what the rules say. Run in the
// sanitizer build, it also shows that nothing leaks.
class TestLongPlay : public MainWindowTest
{
    Q_OBJECT

private slots:
    // One window for the whole session, not one for each test.
    void initTestCase();
    void init() {}
    void cleanup() {}
    void cleanupTestCase();
    void movesNewGamesAndWins();
    void windowsOpenedAndClosed();
    void nothingLeftBehind();

private:
    TileImage *tile(int k) const { return m_tiles[k]; }
    QString board() const;
    QString counter() const;
    void newGame(bool fromMenu);
    // A random move that does not solve the board.
    void randomMove();
    // Lays a board one move from solved and makes that move: the number-th win.
    void win(int number);
    void checkBoard() const;

    QRandomGenerator m_random{20260601};
    std::unique_ptr<DialogAnswers> m_answers;
    std::array<TileImage *, 16> m_tiles{};
    TableModel m_table;
    QString m_board;
    int m_count = 0;
    int m_movesPlayed = 0;
    int m_newGames = 0;
    int m_wins = 0;
    int m_prompts = 0;
    int m_childrenAtStart = 0;
    int m_windowsAtStart = 0;
};

void TestLongPlay::initTestCase()
{
    MainWindowTest::initTestCase();
    MainWindowTest::init();
    for (int k = 0; k < 16; ++k)
        m_tiles[k] = m_window->findChild<TileImage *>(u"Image1_%1"_s.arg(k));
    m_answers = std::make_unique<DialogAnswers>();
    m_childrenAtStart = int(m_window->findChildren<QObject *>().size());
    m_windowsAtStart = int(QApplication::topLevelWidgets().size());
}

void TestLongPlay::cleanupTestCase()
{
    m_answers.reset();
    m_window.reset();
    m_dir.reset();
}

QString TestLongPlay::board() const
{
    QString states;
    for (const TileImage *tile : m_tiles)
        states += tile->tag();
    return states;
}

QString TestLongPlay::counter() const
{
    return m_window->findChild<QLabel *>(u"LblHod"_s)->text();
}

// The tags, pictures and counter against the model; every tile enabled while a game is on.
void TestLongPlay::checkBoard() const
{
    QCOMPARE(board(), m_board);
    QCOMPARE(counter(), QString::number(m_count));
    const qint64 red = m_window->findChild<TileImage *>(u"Img1"_s)->picture().cacheKey();
    const qint64 blue = m_window->findChild<TileImage *>(u"Img0"_s)->picture().cacheKey();
    for (int k = 0; k < 16; ++k)
        QCOMPARE(tile(k)->picture().cacheKey(), m_board[k] == u'1' ? red : blue);
}

void TestLongPlay::newGame(bool fromMenu)
{
    if (fromMenu)
        chooseMenuItem(m_window.get(), u"MnuNew"_s);
    else
        QTest::mouseClick(m_window->findChild<QPushButton *>(u"CmdNew"_s), Qt::LeftButton);
    ++m_newGames;
    m_board = board();
    m_count = 0;
    QVERIFY2(m_board.size() == 16 && m_board.count(u'0') + m_board.count(u'1') == 16,
             qPrintable(m_board));
    for (const TileImage *tile : m_tiles)
        QVERIFY(tile->isEnabled());
    checkBoard();
}

void TestLongPlay::randomMove()
{
    int k = 0;
    do {
        k = int(m_random.bounded(16));
    } while (flipped(m_board, k) == QString(16, u'1'));
    clickTile(m_window.get(), k);
    m_board = flipped(m_board, k);
    ++m_count;
    ++m_movesPlayed;
    checkBoard();
}

void TestLongPlay::win(int number)
{
    const int k = int(m_random.bounded(16));
    m_board = flipped(QString(16, u'1'), k);
    layBoard(m_window.get(), m_board);
    const int moves = m_count + 1;
    const bool enters = m_table.qualifies(moves);
    TableModel::Entry entry = winner(number);
    entry.moves = moves;
    m_answers->clear();
    m_answers->name = number % 10 == 0 ? QString() : entry.shown.trimmed();
    m_answers->closeBox = number % 2 == 0;

    clickTile(m_window.get(), k);
    m_board = QString(16, u'1');
    m_count = moves;
    ++m_wins;
    if (enters) {
        m_table.enter(entry);
        ++m_prompts;
    }

    const QStringList opened =
        enters ? QStringList{"NamePrompt", "FrmRecord"} : QStringList{"FrmRecord"};
    QCOMPARE(m_answers->opened, opened);
    QVERIFY(m_answers->allGone());
    QCOMPARE(m_answers->rows, m_table.rows());
    QCOMPARE(m_answers->resultLine, u"Вы справились за %1 ходов"_s.arg(moves));
    QFile file(m_dir->filePath(u"Records.dat"_s));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), m_table.fileBytes());
    checkBoard();
    for (const TileImage *tile : m_tiles)
        QVERIFY(!tile->isEnabled());

    // Clicks on a locked board change nothing and open nothing.
    m_answers->clear();
    for (int i = 0; i < 3; ++i)
        clickTile(m_window.get(), int(m_random.bounded(16)));
    QVERIFY(m_answers->opened.isEmpty());
    checkBoard();
}

void TestLongPlay::movesNewGamesAndWins()
{
    // Every fifth game is won; its result is planned, slowly falling with some scatter, so that
    // results enter the table at every place, tie with entries and miss it. The other games
    // share the rest of the random moves.
    QList<int> winMoves;
    int forWins = 0;
    for (int i = 0; i < Wins; ++i) {
        winMoves << 300 - i + int(m_random.bounded(-6, 7));
        forWins += winMoves.last() - 1;
    }
    const int others = NewGames - Wins;
    QList<int> otherMoves(others, (RandomMoves - forWins) / others);
    for (int g = 0; g < (RandomMoves - forWins) % others; ++g)
        ++otherMoves[g];
    for (int g = 0; g + 1 < others; g += 2) {
        const int shift = int(m_random.bounded(otherMoves[g + 1] + 1));
        otherMoves[g] += shift;
        otherMoves[g + 1] -= shift;
    }

    QElapsedTimer timer;
    timer.start();
    for (int g = 0; g < NewGames; ++g) {
        newGame(g % 2 == 1);
        const bool won = g % 5 == 4;
        const int moves = won ? winMoves[g / 5] - 1 : otherMoves[g - g / 5];
        for (int m = 0; m < moves; ++m) {
            randomMove();
            if (QTest::currentTestFailed())
                return;
        }
        if (won)
            win(g / 5 + 1);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(m_movesPlayed, RandomMoves);
    QCOMPARE(m_newGames, NewGames);
    QCOMPARE(m_wins, Wins);
    qInfo("%d random moves, %d new games, %d wins (%d entered the table) in %lld ms", m_movesPlayed,
          m_newGames, m_wins, m_prompts, timer.elapsed());
}

void TestLongPlay::windowsOpenedAndClosed()
{
    struct Command
    {
        const char *button;
        const char *menuItem;
        const char *window;
    };
    const Command commands[] = {{"CmdRecord", "Records", "FrmRecord"},
                                {"CmdHelp", "MnuPravila", "FrmHelp"},
                                {nullptr, "MnuAbout", "FrmAbout"}};
    const QStringList rows = m_table.rows();
    const QString board = this->board();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < Showings; ++i) {
        for (const Command &command : commands) {
            m_answers->clear();
            m_answers->closeBox = i % 3 == 0;
            if (command.button && i % 2 == 0)
                QTest::mouseClick(m_window->findChild<QPushButton *>(command.button),
                                  Qt::LeftButton);
            else
                chooseMenuItem(m_window.get(), command.menuItem);
            QCOMPARE(m_answers->opened, QStringList{command.window});
            QVERIFY(m_answers->allGone());
            if (qstrcmp(command.window, "FrmRecord") == 0) {
                QCOMPARE(m_answers->rows, rows);
                QCOMPARE(m_answers->resultLine, "hidden");
            }
        }
    }
    QCOMPARE(this->board(), board);
    QCOMPARE(counter(), QString::number(m_count));
    qInfo("each window opened and closed %d times in %lld ms", Showings, timer.elapsed());
}

// However long the session, the game holds no more objects and windows than at its start.
void TestLongPlay::nothingLeftBehind()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(int(m_window->findChildren<QObject *>().size()), m_childrenAtStart);
    QCOMPARE(int(QApplication::topLevelWidgets().size()), m_windowsAtStart);
}

QTEST_MAIN(TestLongPlay)
#include "tst_longplay.moc"
