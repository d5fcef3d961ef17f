#include "ui/frmmain.h"

#include "ui/design.h"
#include "ui/frmabout.h"
#include "ui/frmhelp.h"
#include "ui/frmrecord.h"
#include "ui/pictures.h"
#include "ui/tileimage.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
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

// The rules and about windows are created for each showing and destroy themselves when closed.
template <class Window> void showModal(QWidget *parent)
{
    (new Window(parent))->exec();
}

} // namespace

FrmMain::FrmMain(const QString &recordsPath, QWidget *parent)
    : QMainWindow(parent), m_game(*this), m_records(RecordFile(recordsPath), m_fileErrors)
{
    setObjectName("FrmMain");
    setWindowTitle("Пирк-Перк");
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(pictureIcon("face"));

    auto *client = new QWidget(this);
    client->setFixedSize(twips(4905), twips(3495));
    setCentralWidget(client);
    createMenus();
    createBoard(client);
    createCounter(client);
    createButtons(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_game.setWinHook([this](qint16 moves) { AddResult(moves); });
    m_game.start();
}

void FrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        centreOnScreen(this);
}

void FrmMain::createBoard(QWidget *client)
{
    QFrame *frame = createFrame(client, "Frame2", twipsRect(75, 75, 3135, 3330));
    for (int k = 0; k < TileCount; ++k) {
        auto *tile = new TileImage(frame);
        tile->setObjectName(QString("Image1_%1").arg(k));
        tile->setPlace(QString("Ряд %1, столбец %2").arg(k / Side + 1).arg(k % Side + 1));
        tile->setGeometry(twipsRect(120 + 720 * (k % Side), 240 + 720 * (k / Side), 750, 750));
        connect(tile, &TileImage::clicked, this, [this, k] { m_game.PlayMove(k); });
        m_tiles[k] = tile;
    }

    const QSize tileSize = twipsRect(0, 0, 750, 750).size();
    m_img0 = new TileImage(client);
    m_img0->setObjectName("Img0");
    m_img0->setPicture(picture("tile_blue", tileSize));
    m_img0->hide();
    m_img1 = new TileImage(client);
    m_img1->setObjectName("Img1");
    m_img1->setPicture(picture("tile_red", tileSize));
    m_img1->hide();
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
    const QSize face(100, 20);
    button->setIcon(::picture(picture, face));
    button->setIconSize(face);
    return button;
}

void FrmMain::createButtons(QWidget *client)
{
    QPushButton *cmdNew = createButton(client, "CmdNew", "btn_new", "Новая", 120);
    QPushButton *cmdHelp = createButton(client, "CmdHelp", "btn_help", "Правила", 600);
    QPushButton *cmdRecord = createButton(client, "CmdRecord", "btn_records", "Рекорды", 1080);
    QPushButton *cmdExit = createButton(client, "cmdExit", "btn_exit", "Выход", 3000);

    connect(cmdNew, &QPushButton::clicked, this, [this] { m_game.newGameCommand(); });
    connect(cmdHelp, &QPushButton::clicked, this, [this] { showModal<FrmHelp>(this); });
    connect(cmdRecord, &QPushButton::clicked, this, &FrmMain::showRecords);
    connect(cmdExit, &QPushButton::clicked, this, &FrmMain::ExitProgram);

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
    auto addItem = [this](QMenu *menu, const char *name, const QString &text, auto command) {
        QAction *item = menu->addAction(text);
        item->setObjectName(name);
        connect(item, &QAction::triggered, this, command);
    };

    QMenu *game = addMenu("MnuFile", "Игра");
    addItem(game, "MnuNew", "Новая", [this] { m_game.newGameCommand(); });
    addItem(game, "Records", "Рекорды", &FrmMain::showRecords);
    addItem(game, "MnuExit", "Выход", &FrmMain::ExitProgram);
    QMenu *help = addMenu("MnuHelp", "Помощь");
    addItem(help, "MnuPravila", "Правила", [this] { showModal<FrmHelp>(this); });
    addItem(help, "MnuAbout", "О программе", [this] { showModal<FrmAbout>(this); });
}

// The records window is made anew for each showing and destroys itself when it is closed.
void FrmMain::showRecords()
{
    m_records.showRecords(*new FrmRecord(this));
}

void FrmMain::AddResult(qint16 moves)
{
    m_records.AddResult(moves, m_namePrompt, *new FrmRecord(this));
}

void FrmMain::ExitProgram()
{
    QMessageBox question(QMessageBox::NoIcon, "Пирк - Перк",
                         "Вы действительно хотите выйти из программы",
                         QMessageBox::Yes | QMessageBox::No, this);
    question.setObjectName("ExitQuestion");
    question.button(QMessageBox::Yes)->setText("Да");
    question.button(QMessageBox::No)->setText("Нет");
    question.setDefaultButton(QMessageBox::Yes);
    if (question.exec() == QMessageBox::Yes)
        QCoreApplication::exit(0);
}

QString FrmMain::tag(int k) const
{
    return m_tiles[k]->tag();
}

void FrmMain::setTag(int k, const QString &tag)
{
    m_tiles[k]->setTag(tag);
}

void FrmMain::showPicture(int k, TileState state)
{
    m_tiles[k]->setPicture((state == TileState::Red ? m_img1 : m_img0)->picture());
}

bool FrmMain::tileEnabled(int k) const
{
    return m_tiles[k]->isEnabled();
}

void FrmMain::setTileEnabled(int k, bool enabled)
{
    m_tiles[k]->setEnabled(enabled);
}

void FrmMain::setCounterCaption(const QString &caption)
{
    m_lblHod->setText(caption);
    m_lblHod->setAccessibleName("Ходов сделано: " + caption);
}
