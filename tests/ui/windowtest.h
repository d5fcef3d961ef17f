// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/frmmain.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>

// Helpers shared by the window tests.

class QLabel;
class TileImage;

// The base of the tests on the main window: before each test a FrmMain keeping its records in a
// fresh temporary folder, shown and exposed; after it, neither.
class MainWindowTest : public QObject
{
    Q_OBJECT

protected slots:
    void initTestCase();
    void init();
    void cleanup();

protected:
    // Opens a new main window in place of the one open, its records in recordsPath.
    void openWindow(const QString &recordsPath);
    QString recordsPath() const { return m_dir->filePath("Records.dat"); }
    TileImage *tile(int k) const;
    // The sixteen tags, tile 0 first.
    QString board() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FrmMain> m_window;
};

// Lays out a board on the main window from 16 characters '0' (blue) and '1' (red), the way a
// deal does: tag and picture of each tile.
void layBoard(FrmMain *window, const QString &states);
// Clicks tile k through the window system, as a player does, so that two presses in quick
// succession arrive as a double click.
void clickTile(FrmMain *window, int k, QTest::MouseAction action = QTest::MouseClick);

// Chooses the main window's menu item name and waits for its command to run.
void chooseMenuItem(FrmMain *window, const QString &name);

// The design gives positions in twips; a widget must stand at the rounded pixel values.
QRect fromTwips(int left, int top, int width, int height);

// Renders a widget at the display's scale, as it appears on screen.
QImage render(QWidget *widget);
// The pixel rows of a rendered label that hold any ink: a clipped text has fewer than the same
// text in a label with room to spare.
int inkRows(QLabel *label);

// Answers the dialogs of a won game, as soon as they open: types name into the name prompt (a
// null name cancels it) when the result enters the table, then hands the records window to
// inspect, if given, and closes it with its button.
void answerWinDialogs(const QString &name, std::function<void(QWidget *records)> inspect = {});

// Runs action on the next modal dialog shown (the dialog is handed to it), from within the
// dialog's own event loop. A test that expects a dialog checks what action found.
void whenModalOpens(std::function<void(QWidget *dialog)> action);
