// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/frmabout.h"

#include "ui/design.h"

#include <QLabel>

FrmAbout::FrmAbout(QWidget *parent)
    : DesignDialog("FrmAbout", "О программе", QSize(4155, 3120), parent)
{
    createImage(this, "Image1", "face", twipsRect(120, 240, 600, 600));
    QLabel *title = createLabel(this, "Label1", "Логическая игра \"Пирк-Перк\"",
                                twipsRect(960, 240, 3015, 255));
    title->setFont(designFont(9.75));
    setTextColour(title, QColor(0, 0, 255));
    createLabel(this, "Label2", "Версия 1.0", twipsRect(960, 600, 3015, 255));
    createLabel(this, "Label3", "Автор: команда «Пирк-Перк»", twipsRect(960, 1200, 2895, 255));
    createLabel(this, "Label5", "Почта: team@pirk-perk.invalid", twipsRect(960, 1560, 2775, 255));
    createLabel(this, "Label6", "Сайт: pirk-perk.example", twipsRect(960, 1920, 2295, 255));
    createLine("Line1", 120, 3960, 2280);
    createLabel(this, "Label4", "Москва, 2026", twipsRect(120, 2640, 2055, 300))
        ->setFont(designFont(9.75));
    // "Ок!" in Cyrillic letters, unlike the records window's Latin "Ok!".
    createCloseButton("CmdClose", "Ок!", twipsRect(2520, 2640, 1455, 300));
}
