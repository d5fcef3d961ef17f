// SPDX-License-Identifier: GPL-3.0-or-later

#include "windowtest.h"

#include "ui/frmmain.h"
#include "ui/tileimage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <memory>

// A won game on the real main window: the name prompt, the record file and the records window.
class TestWinGame : public MainWindowTest
{
    Q_OBJECT

private slots:
    void firstWinEntersTable_data();
    void firstWinEntersTable();
    void namePromptAsDesigned();
    void resultOutsideTableAsksNoName();
    void keyHeldAtTheWin_data();
    void keyHeldAtTheWin();
    void unusableFileReportedOnce();

private:
    // Lays a board that the click on tile 0 solves, and clicks it: a win in one move.
    void winInOneMove();
    QByteArray fileBytes() const;
    // The rows of a records window as "place|name|moves", and its result line or "hidden".
    static QStringList rows(QWidget *records);
    static QString resultLine(QWidget *records);
};

void TestWinGame::winInOneMove()
{
    layBoard(m_window.get(), "0000011101110111");
    clickTile(m_window.get(), 0);
}

QByteArray TestWinGame::fileBytes() const
{
    QFile file(recordsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

QStringList TestWinGame::rows(QWidget *records)
{
    QStringList rows;
    for (int n = 1; n <= 5; ++n)
        rows << records->findChild<QLabel *>(QString("LblMesto_%1").arg(n - 1))->text() + "|" +
                    records->findChild<QLabel *>(QString("Label2_%1").arg(n))->text() + "|" +
                    records->findChild<QLabel *>(QString("LblHod_%1").arg(n))->text();
    return rows;
}

QString TestWinGame::resultLine(QWidget *records)
{
    const auto *line = records->findChild<QLabel *>("Label3");
    return line->isVisibleTo(records) ? line->text() : QString("hidden");
}

void TestWinGame::firstWinEntersTable_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("nameBytes");
    QTest::addColumn<QString>("shownName");
    QTest::newRow("answered") << "Кот" << QByteArray("\xCA\xEE\xF2       ") << "Кот       ";
    QTest::newRow("cancelled") << QString() << QByteArray(10, ' ') << QString(10, u' ');
}

void TestWinGame::firstWinEntersTable()
{
    QFETCH(QString, answer);
    QFETCH(QByteArray, nameBytes);
    QFETCH(QString, shownName);
    QVERIFY(!QFile::exists(recordsPath()));
    const QStringList emptyRows = {"2||0", "3||0", "4||0", "5||0"};

    QStringList shown;
    QString line;
    answerWinDialogs(answer, [&](QWidget *records) {
        shown = rows(records);
        line = resultLine(records);
    });
    winInOneMove();

    QCOMPARE(line, "Вы справились за 1 ходов");
    QCOMPARE(shown, QStringList{"1|" + shownName + "|1"} + emptyRows);
    QCOMPARE(fileBytes(), nameBytes + QByteArray("\x01\x00", 2) + QByteArray(48, '\0'));
    QCOMPARE(m_window->findChild<QLabel *>("LblHod")->text(), "1");

    // The records command shows the same table without the result line.
    whenModalOpens([&](QWidget *records) {
        shown = rows(records);
        line = resultLine(records);
        records->close();
    });
    QTest::mouseClick(m_window->findChild<QPushButton *>("CmdRecord"), Qt::LeftButton);
    QCOMPARE(line, "hidden");
    QCOMPARE(shown, QStringList{"1|" + shownName + "|1"} + emptyRows);
}

void TestWinGame::namePromptAsDesigned()
{
    bool checked = false;
    whenModalOpens([&](QWidget *dialog) {
        auto *prompt = qobject_cast<QInputDialog *>(dialog);
        QVERIFY(prompt);
        QCOMPARE(prompt->labelText(), "КАК ВАШЕ ИМЯ, НОВЫЙ РЕКОРДСМЕН?");
        QCOMPARE(prompt->windowTitle(), "Рекорд");
        QVERIFY(prompt->windowTitle() != m_window->windowTitle());
        QCOMPARE(prompt->textValue(), QString());
        QCOMPARE(prompt->okButtonText(), "OK");
        QCOMPARE(prompt->cancelButtonText(), "Отмена");
        checked = true;
        whenModalOpens([](QWidget *records) { records->close(); });
        prompt->reject();
    });
    winInOneMove();
    QVERIFY(checked);
}

// A result equal to the fifth entry does not enter the table: no name is asked, the file keeps
// its bytes, and the window still tells the result.
void TestWinGame::resultOutsideTableAsksNoName()
{
    QByteArray full;
    for (const char *name : {"A         ", "B         ", "C         ", "D         ", "E         "})
        full += QByteArray(name) + QByteArray("\x01\x00", 2);
    full += "tail";
    QFile file(recordsPath());
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(full) == full.size());
    file.close();

    QString opened, line;
    whenModalOpens([&](QWidget *dialog) {
        opened = dialog->objectName();
        line = resultLine(dialog);
        dialog->close();
    });
    winInOneMove();
    QCOMPARE(opened, "FrmRecord");
    QCOMPARE(line, "Вы справились за 1 ходов");
    QCOMPARE(fileBytes(), full);
}

void TestWinGame::keyHeldAtTheWin_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("pairs");
    QTest::newRow("Enter, repeats marked") << int(Qt::Key_Return) << false;
    QTest::newRow("Enter, repeats as pairs") << int(Qt::Key_Return) << true;
    QTest::newRow("Space, repeats marked") << int(Qt::Key_Space) << false;
    QTest::newRow("Space, repeats as pairs") << int(Qt::Key_Space) << true;
}

// A key held down through the winning move makes one move and does nothing in the name prompt
// or the records window; pressed again after its release it works there as ever.
void TestWinGame::keyHeldAtTheWin()
{
    QFETCH(int, key);
    QFETCH(bool, pairs);
    quint64 time = 1000;
    // To the control with the focus in window, as the window system sends them.
    auto send = [&](QWidget *window, QEvent::Type type, bool repeat) {
        QKeyEvent event(type, key, Qt::NoModifier, key == Qt::Key_Space ? " " : "\r", repeat);
        event.setTimestamp(time);
        QApplication::sendEvent(window->focusWidget(), &event);
    };
    auto hold = [&](QWidget *window) {
        for (int n = 0; n < 5; ++n, time += 33) {
            if (pairs) // X's repeats as a release and a press of one timestamp
                send(window, QEvent::KeyRelease, false);
            send(window, QEvent::KeyPress, !pairs);
        }
        QCoreApplication::processEvents();
    };
    QString prompt, records; // how each window stood the repeats
    whenModalOpens([&](QWidget *dialog) {
        whenModalOpens([&](QWidget *window) {
            hold(window);
            time += 500;
            send(window, QEvent::KeyRelease, false);
            records = window->isVisible() ? "open" : "closed";
            // Enter presses the button that has the focus, which a window never activated (by
            // a Wayland compositor with no keyboard) does not give.
            QTest::keyClick(window->focusWidget(), Qt::Key(key));
            if (!window->isVisible() || !window->isActiveWindow())
                records += ", closed by the key";
            window->close();
        });
        auto *input = qobject_cast<QInputDialog *>(dialog);
        hold(input);
        prompt = input->isVisible() ? "open, text \"" + input->textValue() + "\"" : "closed";
        input->setTextValue("Кот");
        input->accept();
    });
    layBoard(m_window.get(), "0000011101110111");
    QTest::keyClick(m_window->findChild<QWidget *>("CmdNew"), Qt::Key_Down);
    send(m_window.get(), QEvent::KeyPress, false);

    QCOMPARE(prompt, "open, text \"\"");
    QCOMPARE(records, "open, closed by the key");
    QCOMPARE(m_window->findChild<QLabel *>("LblHod")->text(), "1");
    QCOMPARE(fileBytes().left(10), QByteArray("\xCA\xEE\xF2       "));
}

// Records.dat that is a folder: one message in Russian naming the file and saying that the result
// was not entered, then the records window, once; the game goes on with its board locked and its
// count kept.
void TestWinGame::unusableFileReportedOnce()
{
    QVERIFY(QDir(m_dir->path()).mkdir("Records.dat"));
    QStringList opened;
    QString message;
    std::function<void(QWidget *)> answer = [&](QWidget *dialog) {
        opened << dialog->objectName();
        if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            message = box->text();
            whenModalOpens(answer);
            box->accept();
        } else {
            dialog->close();
        }
    };
    whenModalOpens(answer);
    winInOneMove();

    QCOMPARE(opened, (QStringList{"FileError", "FrmRecord"}));
    QVERIFY2(message.contains(QDir::toNativeSeparators(recordsPath())), qPrintable(message));
    QVERIFY2(message.contains("Результат не внесён в таблицу рекордов"), qPrintable(message));
    QVERIFY2(message.contains("на месте файла находится папка"), qPrintable(message));
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->findChild<QLabel *>("LblHod")->text(), "1");
    QVERIFY(!m_window->findChild<TileImage *>("Image1_0")->isEnabled());
}

QTEST_MAIN(TestWinGame)
#include "tst_wingame.moc"
