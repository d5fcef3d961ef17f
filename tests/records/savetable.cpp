// SPDX-License-Identifier: GPL-3.0-or-later

// savetable PATH NAME MOVES ROUNDS [DELAY GO] — a running game that wins ROUNDS games and enters
// each through the game's own save path, RecordKeeper::AddResult, into the records file PATH.
// Round r is won in MOVES - 2r moves; asked for a name, the player answers "NAME-r" ("NAME" for a
// single round) after a random pause of up to DELAY microseconds, as another copy of the game may
// save meanwhile. Waits for the file GO to exist first, when given. Prints the slot each result
// went to (0: not entered) on one line, then when it started and ended, in nanoseconds of the
// system's monotonic clock. Exits with 1 when the game reported a file failure.
#include "records/recordkeeper.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>

#include <chrono>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5 && args.size() != 7)
        return 2;
    const QString name = args[2];
    const int moves = args[3].toInt();
    const int rounds = args[4].toInt();
    const int delay = args.size() == 7 ? args[5].toInt() : 0;
    while (args.size() == 7 && !QFile::exists(args[6]))
        QThread::usleep(100);

    const RecordKeeper keeper{RecordFile(args[1])};
    bool failed = false;
    const auto now = [] { return std::chrono::steady_clock::now().time_since_epoch().count(); };
    const auto started = now();
    for (int round = 0; round < rounds; ++round) {
        const QString answer = rounds == 1 ? name : QStringLiteral("%1-%2").arg(name).arg(round);
        const RecordsShown shown = keeper.AddResult(qint16(moves - 2 * round), [&] {
            if (delay > 0)
                QThread::usleep(QRandomGenerator::global()->bounded(delay));
            return answer;
        });
        if (shown.failure) {
            std::fprintf(stderr, "savetable: failure %d: %s\n", int(shown.failure->reason),
                         qPrintable(shown.failure->detail));
            failed = true;
        }
        std::printf("%d ", shown.place);
    }
    std::printf("\n%lld %lld\n", static_cast<long long>(started), static_cast<long long>(now()));
    return failed ? 1 : 0;
}
