// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/exitquestion.h"

#include "ui/design.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

ExitQuestion::ExitQuestion(QWidget *parent)
    : QMessageBox(QMessageBox::NoIcon, "Пирк - Перк", "Вы действительно хотите выйти из программы",
                  QMessageBox::Yes | QMessageBox::No, parent)
{
    setObjectName("ExitQuestion");
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint) & ~Qt::WindowCloseButtonHint);
    button(QMessageBox::Yes)->setText("Да");
    button(QMessageBox::No)->setText("Нет");
    setDefaultButton(QMessageBox::Yes);
    centreWhenShown(this);
}

void ExitQuestion::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel))
        return;
    QMessageBox::keyPressEvent(event);
}

// A button's answer hides the box without a close event, so every close event asks to leave it
// unanswered.
void ExitQuestion::closeEvent(QCloseEvent *event)
{
    event->ignore();
}
