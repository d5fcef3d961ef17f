#include "ui/application.h"

#include "ui/design.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

void setUpGame(QApplication &app)
{
    app.setApplicationName("pirk-perk");
    // Lets the desktop match the windows to the installed launcher and its icon.
    app.setDesktopFileName("example.pirk_perk.PirkPerk");
    app.setFont(designFont());
    auto *qtTexts = new QTranslator(&app);
    if (qtTexts->load(QLocale(QLocale::Russian), "qtbase", "_",
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qtTexts);
}
