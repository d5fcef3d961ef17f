// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "puzzle/game.h"
#include "puzzle/movecounter.h"
#include "records/recordkeeper.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class BoardFrame;
class QLabel;
class QPushButton;
class TileImage;

// The main window: the board, the move counter, the four picture buttons and the menu bar. Every
// command of the game starts here.
//
// While a modal window is open no command runs, whatever asks for it: the window system keeps
// the mouse and keys from this window, and the same holds for a screen reader's actions on its
// controls. Menu items run their command from the event loop, so that a screen reader choosing
// one is not held until the window it opens is closed.
class FrmMain : public QMainWindow, private MoveCounter
{
    Q_OBJECT

public:
    // recordsPath is the file of the record table (see recordsFilePath()).
    explicit FrmMain(const QString &recordsPath, QWidget *parent = nullptr);
    ~FrmMain() override;

    // Asks whether to quit and, on "Да", ends the program at once.
    void ExitProgram();

protected:
    void showEvent(QShowEvent *event) override;
    // The buttons' keys: Enter presses the focused button, as Space does; an arrow takes the
    // focus to the board.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createBoard(QWidget *client);
    void createCounter(QWidget *client);
    void createButtons(QWidget *client);
    void createMenus();
    QPushButton *createButton(QWidget *client, const char *name, const QString &picture,
                              const QString &word, int top);
    // True while a modal window is open over this one.
    static bool blocked();
    // The command, run only when not blocked().
    static std::function<void()> command(std::function<void()> run);
    // A move on tile k; a winning one enters the result and shows the records.
    void PlayMove(int k);
    // The records command: the table without a result line.
    void showRecords();
    // Reports the file's failure, if any, then shows the table; with the result line of a game
    // won in *won moves when given.
    void showRecordsWindow(const RecordsShown &shown, std::optional<qint16> won);

    void setCounterCaption(const QString &caption) override;

    TileImage *m_img0 = nullptr;
    TileImage *m_img1 = nullptr;
    BoardFrame *m_board = nullptr;
    QLabel *m_lblHod = nullptr;
    std::unique_ptr<Game> m_game;
    RecordKeeper m_records;
};
