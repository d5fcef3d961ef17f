// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/application.h"

#include "ui/design.h"
#include "ui/gamestyle.h"
#include "ui/heldkeys.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QStyleHints>
#include <QTranslator>

void setUpEnvironment()
{
    // Of the desktop the game shows only the order of the dialog buttons (GameStyle); its own
    // style, palette and font stand in for the rest. Left to itself Qt would load the desktop's
    // platform theme plugin, which on GNOME starts GTK and on Plasma KDE's frameworks (on GNOME,
    // half as long again to start and 40 % more memory) for nothing a player sees. Qt's generic
    // theme is built in. A theme the player names is loaded as before.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORMTHEME"))
        QGuiApplication::setDesktopSettingsAware(false);

    // Qt's GTK platform theme starts GTK, whose own accessibility bridge would put a second,
    // empty application of the game's name on the screen-reader bus: the game has no GTK windows
    // to show there, Qt itself presents every window. A value the user set is kept, so that the
    // bridge can still be asked for.
    if (!qEnvironmentVariableIsSet("NO_AT_BRIDGE"))
        qputenv("NO_AT_BRIDGE", "1");
}

void setUpGame(QApplication &app)
{
    app.setApplicationName("pirk-perk");
    // Lets the desktop match the windows to the installed launcher and its icon.
    app.setDesktopFileName("example.pirk_perk.PirkPerk");
    // The windows look as designed whatever the desktop's style and colour scheme: a dark scheme
    // would put the game's blue headings and light result band on a dark background. Set with
    // no class name, the palette and the font also replace those a platform theme hands single
    // widget classes (buttons, menus, message boxes); set explicitly, they stay when the desktop
    // changes its theme while the game runs.
    QApplication::setStyle(new GameStyle);
    QApplication::setPalette(designPalette());
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // From Qt 6.8 a program can also ask for the light scheme, for whatever follows the scheme
    // rather than the palette.
    QGuiApplication::styleHints()->setColorScheme(Qt::ColorScheme::Light);
#endif
    app.setFont(designFont());
    HeldKeys::install();
    auto *qtTexts = new QTranslator(&app);
    if (qtTexts->load(QLocale(QLocale::Russian), "qtbase", "_",
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qtTexts);
}
