// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/nameprompt.h"

#include "ui/design.h"

#include <QInputDialog>

QString askName(QWidget *parent)
{
    QInputDialog box(parent);
    box.setObjectName("NamePrompt");
    box.setWindowTitle("Рекорд");
    box.setLabelText("КАК ВАШЕ ИМЯ, НОВЫЙ РЕКОРДСМЕН?");
    box.setInputMode(QInputDialog::TextInput);
    box.setOkButtonText("OK");
    box.setCancelButtonText("Отмена");
    centreWhenShown(&box);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}
