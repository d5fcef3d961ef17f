// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordslocation.h"
#include "ui/application.h"
#include "ui/frmmain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    setUpEnvironment();
    QApplication app(argc, argv);
    setUpGame(app);
    FrmMain window(recordsFilePath());
    window.show();
    return app.exec();
}
