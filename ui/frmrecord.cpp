// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/frmrecord.h"

#include "ui/design.h"
#include "ui/pictures.h"

#include <QFrame>
#include <QLabel>

FrmRecord::FrmRecord(QWidget *parent)
    : DesignDialog("FrmRecord", "Рекордсмены", QSize(4710, 3030), parent)
{
    setWindowIcon(pictureIcon("column"));

    QLabel *heading = createLabel(this, "Label1", "Пятерка сильнейших",
                                  twipsRect(120, 120, 2900, 255), Qt::AlignHCenter);
    heading->setFont(designFont(12, true));
    // The 12 pt line is a pixel taller than the label. Its top is empty space above the
    // capitals, so the line is aligned to the bottom edge to keep the descenders whole.
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    setTextColour(heading, QColor(255, 0, 0));
    createTable();
    createImage(this, "Image1", "trophy", twipsRect(3120, 240, 1455, 2295));

    m_result =
        createLabel(this, "Label3", QString(), twipsRect(120, 2640, 2895, 300), Qt::AlignHCenter);
    m_result->setFont(designFont(8.25, true));
    m_result->setAutoFillBackground(true);
    QPalette palette = m_result->palette();
    palette.setColor(QPalette::Window, QColor(128, 255, 255));
    m_result->setPalette(palette);

    // "Ok!" in Latin letters, unlike the rules and about windows' Cyrillic "Ок!".
    createCloseButton("Command1", "Ok!", twipsRect(3120, 2640, 1455, 300));
}

void FrmRecord::createTable()
{
    m_table = createFrame(this, "Frame1", twipsRect(120, 480, 2900, 2055));

    // The rows were placed by hand: their tops and the place labels' sizes differ by a few twips.
    struct Row
    {
        int top, nameTop, placeWidth, placeHeight;
    };
    constexpr std::array<Row, Rows> rows{{{240, 240, 100, 200},
                                          {600, 597, 105, 195},
                                          {960, 957, 105, 195},
                                          {1320, 1320, 100, 200},
                                          {1680, 1680, 100, 200}}};
    for (int i = 0; i < Rows; ++i) {
        const Row &row = rows[i];
        createLabel(m_table, QString("LblMesto_%1").arg(i), QString::number(i + 1),
                    twipsRect(120, row.top, row.placeWidth, row.placeHeight));
        m_names[i] = createLabel(m_table, QString("Label2_%1").arg(i + 1), "LblName",
                                 twipsRect(480, row.nameTop, 1455, 200));
        // A name is shown letter for letter, even one that looks like markup.
        m_names[i]->setTextFormat(Qt::PlainText);
        m_moves[i] = createLabel(m_table, QString("LblHod_%1").arg(i + 1), "0",
                                 twipsRect(2280, row.top, 495, 195));
    }
    // Where the rows stand, the same width as they take.
    m_unreadable = createLabel(m_table, "LblUnreadable", "Таблицу рекордов прочитать не удалось",
                               twipsRect(120, 240, 2655, 1640));
    m_unreadable->setAlignment(Qt::AlignCenter);
    m_unreadable->hide();
}

void FrmRecord::setRow(int n, const QString &name, qint16 moves)
{
    if (n < 1 || n > Rows)
        return;
    m_names[n - 1]->setText(name.left(name.indexOf(QChar(0))));
    m_moves[n - 1]->setText(QString::number(moves));
}

void FrmRecord::showTable(const RecordTable &table)
{
    for (int n = 1; n <= Rows; ++n)
        setRow(n, table.entry(n).name(), table.entry(n).moves());
}

void FrmRecord::showUnreadable()
{
    for (QLabel *label : m_table->findChildren<QLabel *>())
        label->setVisible(label == m_unreadable);
}

void FrmRecord::showResult(qint16 moves)
{
    m_result->setText("Вы справились за " + QString::number(moves) + " ходов");
    m_result->show();
}

void FrmRecord::showOvertaken()
{
    m_result->setText("Пока вводили имя, вас обошли");
    m_result->show();
}

void FrmRecord::hideResult()
{
    m_result->hide();
}
