// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/designfont.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

// The first installed face of those the windows were measured for, in the order of preference.
// Asked for that one face rather than the whole list, Qt need not look up, at start-up, the faces
// it would fall back on for each missing one. Where none is installed, Qt falls back from the list.
QStringList designFamilies()
{
    static const QStringList families = [] {
        const QStringList measured{"MS Sans Serif", "Microsoft Sans Serif", "Arial",
                                   "Liberation Sans"};
        const QStringList installed = QFontDatabase::families();
        for (const QString &family : measured)
            if (installed.contains(family, Qt::CaseInsensitive))
                return QStringList{family};
        return measured;
    }();
    return families;
}

} // namespace

QFont designFont(qreal pointSize, bool bold)
{
    QFont font;
    font.setFamilies(designFamilies());
    font.setStyleHint(QFont::SansSerif);
    // Letters stand at their own widths, without kerning or ligatures, as the design's bitmap face
    // set them; this also spares starting the text shaper for Cyrillic and Latin text.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setKerning(false);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}
