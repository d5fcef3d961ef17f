// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMessageBox>

// The question put before the program ends. Only "Да" and "Нет" answer it: Escape, the close box
// and the window manager's close key are ignored, and it has no close box to offer.
class ExitQuestion : public QMessageBox
{
    Q_OBJECT

public:
    explicit ExitQuestion(QWidget *parent);

    // Shows the question modally; true when the answer is "Да".
    bool confirmed() { return exec() == QMessageBox::Yes; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};
