// SPDX-License-Identifier: GPL-3.0-or-later

// The smallest Qt Widgets program that shows what the game's main window shows: a menu bar,
// sixteen image labels and four buttons. The start-up benchmark measures the game against it.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu("Game")->addAction("New");
    window.menuBar()->addMenu("Help")->addAction("About");
    auto *client = new QWidget(&window);
    client->setFixedSize(327, 233);
    window.setCentralWidget(client);

    QPixmap tile(50, 50);
    tile.fill(Qt::blue);
    for (int k = 0; k < 16; ++k) {
        auto *label = new QLabel(client);
        label->setPixmap(tile);
        label->setGeometry(13 + 48 * (k % 4), 21 + 48 * (k / 4), 50, 50);
    }
    for (int i = 0; i < 4; ++i)
        (new QPushButton(QString("Button %1").arg(i + 1), client))
            ->setGeometry(224, 8 + 32 * i, 100, 25);

    window.show();
    return app.exec();
}
