// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QApplication;

// What the game sets in its own environment before it makes its QApplication, which loads the
// desktop's platform theme.
void setUpEnvironment();

// What the game sets on the application before its first window: its name and launcher, its
// style, palette and font, Russian for Qt's own texts (dialog buttons, context menus) whatever the
// system's language, and the watch on keys held into a window (HeldKeys).
void setUpGame(QApplication &app);
