// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>

// The game's sans-serif face at the given point size. The windows were measured for MS Sans Serif;
// where it is missing, a face with its metrics and Cyrillic letters takes its place, so that every
// text keeps fitting its label. As the application's font it also sets the words drawn in the
// pictures, so whatever draws them must make it the application's font first.
QFont designFont(qreal pointSize = 8.25, bool bold = false);
