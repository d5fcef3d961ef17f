// SPDX-License-Identifier: GPL-3.0-or-later

// render-window WINDOW FILE.png — draws one of the game's windows or dialogs into a picture file
// (its format follows the file's extension). Run it with QT_QPA_PLATFORM=offscreen, and
// QT_SCALE_FACTOR=2 for a 200 % picture; on a display it draws with the desktop's platform theme.
#include "windowtest.h"

#include "ui/application.h"
#include "ui/fileerrorbox.h"
#include "ui/frmabout.h"
#include "ui/frmhelp.h"
#include "ui/frmmain.h"
#include "ui/frmrecord.h"
#include "ui/nameprompt.h"

#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

namespace {

// A records window as the records command shows it, with a table of sample names.
std::unique_ptr<FrmRecord> sampleRecords()
{
    auto window = std::make_unique<FrmRecord>();
    const QStringList names = {"Константин", "Маша", "Пётр Ильич", "Anna", QString(10, QChar(0))};
    const qint16 moves[] = {9, 14, 23, 31, 0};
    for (int n = 1; n <= FrmRecord::Rows; ++n)
        window->setRow(n, names[n - 1], moves[n - 1]);
    window->hideResult();
    return window;
}

QPixmap drawWindow(std::unique_ptr<QWidget> window)
{
    window->show();
    return window->grab();
}

// Draws the modal dialog that open() brings up, as soon as it is up, and closes it.
QPixmap drawDialog(const std::function<void()> &open)
{
    QPixmap drawing;
    QTimer::singleShot(0, [&drawing] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        drawing = dialog->grab();
        dialog->reject();
    });
    open();
    return drawing;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpGame(app);
    const QTemporaryDir scratch; // the main window's record file, never touched by a drawing
    const QString recordsPath = scratch.filePath("Records.dat");

    const std::map<QString, std::function<QPixmap()>> windows = {
        {"main",
         [&] {
             // A fixed board rather than a random deal, so that drawings made apart can be
             // compared.
             auto window = std::make_unique<FrmMain>(recordsPath);
             layBoard(window.get(), "0100001110010010");
             return drawWindow(std::move(window));
         }},
        {"help", [] { return drawWindow(std::make_unique<FrmHelp>()); }},
        {"about", [] { return drawWindow(std::make_unique<FrmAbout>()); }},
        {"records", [] { return drawWindow(sampleRecords()); }},
        {"records-result",
         [] {
             std::unique_ptr<FrmRecord> window = sampleRecords();
             window->showResult(25);
             return drawWindow(std::move(window));
         }},
        {"exit-question", [&] { return drawDialog([&] { FrmMain(recordsPath).ExitProgram(); }); }},
        {"name-prompt", [] { return drawDialog([] { askName(nullptr); }); }},
        {"file-error",
         [] {
             // A fixed path, so that drawings made apart can be compared.
             const RecordFileError error{RecordFileError::Reason::DiskFull,
                                         RecordFileError::Operation::Write,
                                         "/home/player/.local/share/pirk-perk/Records.dat",
                                         {}};
             return drawDialog([&] { showFileError(nullptr, error); });
         }},
    };
    const QStringList args = app.arguments();
    const auto window = args.size() == 3 ? windows.find(args[1]) : windows.end();
    if (window == windows.end()) {
        QStringList names;
        for (const auto &[name, draw] : windows)
            names << name;
        QTextStream(stderr) << "usage: render-window " << names.join('|') << " FILE.png\n";
        return 2;
    }
    return window->second().save(args[2]) ? 0 : 1;
}
