#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QTest>
#include <QWidget>

#include <functional>

// Helpers shared by the window tests.

class FrmMain;
class QLabel;

// Lays out a board on the main window from 16 characters '0' (blue) and '1' (red), the way a
// deal does: tag and picture of each tile.
void layBoard(FrmMain *window, const QString &states);
// Clicks tile k through the window system, as a player does, so that two presses in quick
// succession arrive as a double click.
void clickTile(FrmMain *window, int k, QTest::MouseAction action = QTest::MouseClick);

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

// Runs action as soon as a modal dialog is open (the dialog is handed to it); fails the test if
// none opens within a few seconds.
void whenModalOpens(std::function<void(QWidget *dialog)> action);
