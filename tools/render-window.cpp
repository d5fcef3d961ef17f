// render-window WINDOW FILE.png — draws one of the game's windows offscreen into a PNG file.
// Run it with QT_QPA_PLATFORM=offscreen, and QT_SCALE_FACTOR=2 for a 200 % picture.
#include "ui/application.h"
#include "ui/frmabout.h"
#include "ui/frmhelp.h"
#include "ui/frmmain.h"
#include "ui/frmrecord.h"

#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextStream>

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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpGame(app);
    const QTemporaryDir scratch; // the main window's record file, never touched by a drawing

    const std::map<QString, std::function<std::unique_ptr<QWidget>()>> windows = {
        {"main", [&] { return std::make_unique<FrmMain>(scratch.filePath("Records.dat")); }},
        {"help", [] { return std::make_unique<FrmHelp>(); }},
        {"about", [] { return std::make_unique<FrmAbout>(); }},
        {"records", [] { return sampleRecords(); }},
        {"records-result",
         [] {
             std::unique_ptr<FrmRecord> window = sampleRecords();
             window->showResult(25);
             return window;
         }},
    };
    const QStringList args = app.arguments();
    const auto window = args.size() == 3 ? windows.find(args[1]) : windows.end();
    if (window == windows.end()) {
        QStringList names;
        for (const auto &[name, create] : windows)
            names << name;
        QTextStream(stderr) << "usage: render-window " << names.join('|') << " FILE.png\n";
        return 2;
    }
    std::unique_ptr<QWidget> widget = window->second();
    widget->show();
    return widget->grab().save(args[2]) ? 0 : 1;
}
