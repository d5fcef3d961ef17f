// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/frmmain.h"

#include "ui/boardframe.h"
#include "ui/design.h"
#include "ui/exitquestion.h"
#include "ui/fileerrorbox.h"
#include "ui/frmabout.h"
#include "ui/frmhelp.h"
#include "ui/frmrecord.h"
#include "ui/nameprompt.h"
#include "ui/pictures.h"
#include "ui/tileimage.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>

namespace {

QLabel *createLabel(QWidget *parent, const char *name, const QString &text, QRect geometry,
                    QColor colour, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(designFont(12, true));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setAutoFillBackground(true);
    setTextColour(label, colour);
    return label;
}

// The rules and about windows are made for each showing and are gone when it ends.
template <class Window> void showModal(QWidget *parent)
{
    Window window(parent);
    window.exec();
}

} // namespace

FrmMain::FrmMain(const QString &recordsPath, QWidget *parent)
    : QMainWindow(parent), m_records(RecordFile(recordsPath))
{
    setObjectName("FrmMain");
    setWindowTitle("Пирк-Перк");
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(pictureIcon("face"));

    auto *client = new QWidget(this);
    client->setFixedSize(twips(4905), twips(3495));
    setCentralWidget(client);
    createMenus();
    createBoard(client);
    createCounter(client);
    createButtons(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_game = std::make_unique<Game>(*m_board, static_cast<MoveCounter &>(*this));
    m_game->newGameCommand();
}

FrmMain::~FrmMain() = default;

void FrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        centreOnScreen(this);
}

void FrmMain::createBoard(QWidget *client)
{
    m_img0 = new TileImage(client);
    m_img0->setObjectName("Img0");
    m_img0->setPicture(picture("tile_blue"));
    m_img0->hide();
    m_img1 = new TileImage(client);
    m_img1->setObjectName("Img1");
    m_img1->setPicture(picture("tile_red"));
    m_img1->hide();

    m_board = new BoardFrame(*m_img0, *m_img1, client);
    connect(m_board, &BoardFrame::tileClicked, this, [this](int k) {
        if (!blocked())
            PlayMove(k);
    });
}

void FrmMain::createCounter(QWidget *client)
{
    QFrame *frame = createFrame(client, "Frame1", twipsRect(3360, 1800, 1500, 855));
    QLabel *heading = createLabel(frame, "Label1", "Ход", twipsRect(480, 120, 615, 255),
                                  QColor(0, 0, 255), Qt::AlignLeft);
    // The 12 pt bold line is taller than the label. Aligned to the bottom edge it stands where
    // centring puts it at 100 %, and keeps the descender of "д" whole at 200 %, where centring
    // would cut its last row.
    heading->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_lblHod = createLabel(frame, "LblHod", "0", twipsRect(600, 480, 375, 255), QColor(255, 128, 0),
                           Qt::AlignHCenter);
}

QPushButton *FrmMain::createButton(QWidget *client, const char *name, const QString &picture,
                                   const QString &word, int top)
{
    auto *button = new QPushButton(client);
    button->setObjectName(name);
    // The word is drawn in the picture; screen readers are told it.
    button->setAccessibleName(word);
    button->setGeometry(twipsRect(3360, top, 1500, 375));
    button->setIcon(::picture(picture));
    button->setIconSize(pictureSize(picture));
    button->installEventFilter(this);
    return button;
}

void FrmMain::createButtons(QWidget *client)
{
    QPushButton *cmdNew = createButton(client, "CmdNew", "btn_new", "Новая", 120);
    QPushButton *cmdHelp = createButton(client, "CmdHelp", "btn_help", "Правила", 600);
    QPushButton *cmdRecord = createButton(client, "CmdRecord", "btn_records", "Рекорды", 1080);
    QPushButton *cmdExit = createButton(client, "cmdExit", "btn_exit", "Выход", 3000);

    connect(cmdNew, &QPushButton::clicked, this, command([this] { m_game->newGameCommand(); }));
    connect(cmdHelp, &QPushButton::clicked, this, command([this] { showModal<FrmHelp>(this); }));
    connect(cmdRecord, &QPushButton::clicked, this, command([this] { showRecords(); }));
    connect(cmdExit, &QPushButton::clicked, this, command([this] { ExitProgram(); }));

    setTabOrder(cmdNew, cmdExit);
    setTabOrder(cmdExit, cmdHelp);
    setTabOrder(cmdHelp, cmdRecord);
    cmdNew->setFocus();
}

void FrmMain::createMenus()
{
    auto addMenu = [this](const char *name, const QString &title) {
        QMenu *menu = menuBar()->addMenu(title);
        menu->setObjectName(name);
        return menu;
    };
    auto addItem = [this](QMenu *menu, const char *name, const QString &text,
                          std::function<void()> run) {
        QAction *item = menu->addAction(text);
        item->setObjectName(name);
        connect(item, &QAction::triggered, this, command(std::move(run)), Qt::QueuedConnection);
    };

    QMenu *game = addMenu("MnuFile", "Игра");
    addItem(game, "MnuNew", "Новая", [this] { m_game->newGameCommand(); });
    addItem(game, "Records", "Рекорды", [this] { showRecords(); });
    addItem(game, "MnuExit", "Выход", [this] { ExitProgram(); });
    QMenu *help = addMenu("MnuHelp", "Помощь");
    addItem(help, "MnuPravila", "Правила", [this] { showModal<FrmHelp>(this); });
    addItem(help, "MnuAbout", "О программе", [this] { showModal<FrmAbout>(this); });
}

bool FrmMain::blocked()
{
    return QApplication::activeModalWidget() != nullptr;
}

std::function<void()> FrmMain::command(std::function<void()> run)
{
    return [run = std::move(run)] {
        if (!blocked())
            run();
    };
}

bool FrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    auto *button = static_cast<QPushButton *>(watched);
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        m_board->takeFocus(button);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        button->click();
        return true;
    default:
        return false;
    }
}

void FrmMain::PlayMove(int k)
{
    if (!m_game->PlayMove(k))
        return;
    const qint16 moves = m_game->moveCount();
    const RecordsShown shown = m_records.AddResult(moves, [this] { return askName(this); });
    showRecordsWindow(shown, moves);
}

void FrmMain::showRecords()
{
    showRecordsWindow(m_records.ViewRec(), std::nullopt);
}

// The records window is made anew for each showing and is gone when it ends.
void FrmMain::showRecordsWindow(const RecordsShown &shown, std::optional<qint16> won)
{
    if (shown.failure)
        showFileError(this, *shown.failure);
    FrmRecord window(this);
    if (shown.overtaken)
        window.showOvertaken();
    else if (won)
        window.showResult(*won);
    else
        window.hideResult();
    if (shown.table)
        window.showTable(*shown.table);
    else
        window.showUnreadable();
    window.exec();
}

void FrmMain::ExitProgram()
{
    if (ExitQuestion(this).confirmed())
        QCoreApplication::exit(0);
}

void FrmMain::setCounterCaption(const QString &caption)
{
    m_lblHod->setText(caption);
    m_lblHod->setAccessibleName("Ходов сделано: " + caption);
}
