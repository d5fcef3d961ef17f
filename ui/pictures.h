// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The pictures are drawings, rendered for the display's scale so that they stay sharp at 150 %
// and 200 %. name is a file of ui/pictures without its ".svg"; size is in device-independent
// pixels.
QPixmap picture(const QString &name, QSize size);
// The picture at the size the windows show it, from the list in picturesizes.h.
QPixmap picture(const QString &name);
QSize pictureSize(const QString &name);
// A window icon drawn at the sides of the list in picturesizes.h.
QIcon pictureIcon(const QString &name);
