// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordslocation.h"
#include "ui/application.h"
#include "ui/frmmain.h"
#include "ui/systemfonts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    setUpEnvironment();
    SystemFontsLoading fonts;
    QApplication app(argc, argv);
    fonts.wait();
    setUpGame(app);
    FrmMain window(recordsFilePath());
    window.show();
    return app.exec();
}
