#include "ui/application.h"

#include "ui/design.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

void setUpGame(QApplication &app)
{
    app.setApplicationName("pirk-perk");
    app.setFont(designFont());
    auto *qtTexts = new QTranslator(&app);
    if (qtTexts->load(QLocale(QLocale::Russian), "qtbase", "_",
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qtTexts);
}
