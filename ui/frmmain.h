#pragma once

#include "puzzle/game.h"
#include "puzzle/tileboard.h"
#include "records/recordkeeper.h"
#include "ui/fileerrorbox.h"
#include "ui/nameprompt.h"

#include <QMainWindow>

#include <array>

class QLabel;
class QPushButton;
class TileImage;

// The main window: the board, the move counter, the four picture buttons and the menu bar. Every
// command of the game starts here.
class FrmMain : public QMainWindow, private TileBoard
{
    Q_OBJECT

public:
    // recordsPath is the file of the record table (see recordsFilePath()).
    explicit FrmMain(const QString &recordsPath, QWidget *parent = nullptr);

    // Asks whether to quit and, on "Да", ends the program at once.
    void ExitProgram();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createBoard(QWidget *client);
    void createCounter(QWidget *client);
    void createButtons(QWidget *client);
    void createMenus();
    QPushButton *createButton(QWidget *client, const char *name, const QString &picture,
                              const QString &word, int top);
    // The records command: the table without a result line.
    void showRecords();
    void AddResult(qint16 moves);

    QString tag(int k) const override;
    void setTag(int k, const QString &tag) override;
    void showPicture(int k, TileState state) override;
    bool tileEnabled(int k) const override;
    void setTileEnabled(int k, bool enabled) override;
    void setCounterCaption(const QString &caption) override;

    std::array<TileImage *, TileCount> m_tiles{};
    TileImage *m_img0 = nullptr;
    TileImage *m_img1 = nullptr;
    QLabel *m_lblHod = nullptr;
    Game m_game;
    FileErrorBox m_fileErrors{this};
    NameInputBox m_namePrompt{this};
    RecordKeeper m_records;
};
