// savetable PATH WRITER ROUNDS GO — one running game's saves, for the test of two games saving
// at once. Waits until the file GO exists, then saves a table ROUNDS times to the records file
// PATH. Round r's record n is named "<WRITER><n>-<r>" and holds movesFor(WRITER, n, r) moves, so
// that a record put together from two writes shows. Prints when it started and ended saving, in
// nanoseconds of the system's monotonic clock, then ends when its standard input closes. Exits
// with 1 when a save fails.
#include "savedrecord.h"

#include "records/recordfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <chrono>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    const RecordFile file(args[1]);
    const QChar writer = args[2].front();
    const int rounds = args[3].toInt();
    while (!QFile::exists(args[4]))
        QThread::usleep(100);

    const auto now = [] { return std::chrono::steady_clock::now().time_since_epoch().count(); };
    const auto started = now();
    for (int round = 0; round < rounds; ++round) {
        RecordTable table;
        for (int n = 1; n <= RecordTable::SlotCount; ++n)
            table.setEntry(n, savedRecord(writer, n, round));
        if (file.SaveRecords(table))
            return 1;
    }
    std::printf("%lld %lld\n", static_cast<long long>(started), static_cast<long long>(now()));
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) {
    }
    return 0;
}
