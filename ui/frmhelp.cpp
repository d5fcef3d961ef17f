// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/frmhelp.h"

#include "ui/design.h"
#include "ui/pictures.h"

#include <QLabel>

FrmHelp::FrmHelp(QWidget *parent) : DesignDialog("FrmHelp", "Правила", QSize(3330, 4485), parent)
{
    setWindowIcon(pictureIcon("question"));
    const QColor blue(0, 0, 255);

    setTextColour(createLabel(this, "Label4", "ИГРА -ГОЛОВОЛОМКА", twipsRect(120, 120, 3015, 255),
                              Qt::AlignHCenter),
                  blue);
    createLine("Line2", 120, 3240, 600);
    createLabel(this, "Label1",
                "На игровом поле 4 на 4 клетки в произвольном порядке располгаются фишки Красного "
                "и Синего цветов. Щелчок мышки на любой из фишек приводит к тому, что все фишки "
                "образующие столбец и строку с выбранной фишкой, меняют свой цвет - Синяя "
                "становится Красной, и наоборот.",
                twipsRect(120, 720, 3015, 1815), Qt::AlignHCenter);
    createLine("Line3", 120, 3120, 2640);
    setTextColour(
        createLabel(this, "Label5", "ЦЕЛЬ ИГРЫ", twipsRect(360, 2760, 2535, 255), Qt::AlignHCenter),
        blue);
    setTextColour(createLabel(this, "Label6",
                              "Добиться, чтобы в результате все клетки игрового поля были "
                              "заполнены фишками Красного цвета.",
                              twipsRect(120, 3120, 3015, 615), Qt::AlignHCenter),
                  QColor(255, 0, 0));
    createLine("Line1", 120, 3120, 3960);
    // "Ок!" in Cyrillic letters, unlike the records window's Latin "Ok!".
    createCloseButton("Command1", "Ок!", twipsRect(1800, 4080, 1335, 300));
}
