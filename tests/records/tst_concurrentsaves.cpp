// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordfile.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <array>
#include <map>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Rounds = 300;
// savetable's games: round r of the first is won in 30000 - 2r moves, of the second in one fewer.
constexpr std::array<int, 2> FirstMoves{30000, 29999};
const std::array<QString, 2> Players{u"A"_s, u"B"_s};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One record with an ASCII name, built by hand.
QByteArray rec(const QString &name, int moves)
{
    return name.toLatin1().leftJustified(10, ' ') + char(moves & 0xFF) + char(moves >> 8 & 0xFF);
}

// The results the games may enter, by name, with their moves.
std::map<QString, int> possibleResults(const QByteArray &before)
{
    std::map<QString, int> results;
    for (int n = 1; n * 12 <= qMin(before.size(), 60); ++n) {
        const RecordEntry entry = RecordEntry::fromRecord(before.mid((n - 1) * 12, 12));
        results[entry.name()] = entry.moves();
    }
    for (int i = 0; i < 2; ++i)
        for (int round = 0; round < Rounds; ++round)
            results[u"%1-%2"_s.arg(Players[i]).arg(round).leftJustified(10)] =
                FirstMoves[i] - 2 * round;
    return results;
}

// Whether a table read while the games played holds only results they could have entered, each
// once, in the table's order.
QString fault(const RecordTable &table, const std::map<QString, int> &results)
{
    QSet<QString> names;
    for (int n = 1; n <= 5; ++n) {
        const RecordEntry &entry = table.entry(n);
        if (entry.isEmpty())
            continue;
        const auto known = results.find(entry.name());
        if (known == results.end() || known->second != entry.moves())
            return u"unknown record %1: %2 %3"_s.arg(n).arg(entry.name()).arg(entry.moves());
        if (names.contains(entry.name()))
            return u"record %1 doubled: %2"_s.arg(n).arg(entry.name());
        names.insert(entry.name());
        if (n > 1 && (table.entry(n - 1).isEmpty() || table.entry(n - 1).moves() > entry.moves()))
            return u"record %1 out of order"_s.arg(n);
    }
    return {};
}

} // namespace

// Two running games share one records file and win game after game, each answering the name
// prompt after a random pause while the other saves: every result is sorted into the table as it
// stands when its name has been entered, so no record is ever lost, doubled or torn.
class TestConcurrentSaves : public QObject
{
    Q_OBJECT

private slots:
    void twoGamesSaveAtOnce_data();
    void twoGamesSaveAtOnce();
};

void TestConcurrentSaves::twoGamesSaveAtOnce_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("no file") << QByteArray("(none)");
    QTest::newRow("empty file") << QByteArray();
    QByteArray old;
    for (int n = 1; n <= 5; ++n)
        old += rec(u"old %1"_s.arg(n), 32000 + n);
    QTest::newRow("60 bytes") << old;
    QTest::newRow("with a tail") << old + "and a tail";
}

void TestConcurrentSaves::twoGamesSaveAtOnce()
{
    QFETCH(QByteArray, before);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Records.dat"_s);
    const bool noFile = before == "(none)";
    if (noFile) {
        before.clear();
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(before), before.size());
    }
    const std::map<QString, int> results = possibleResults(before);

    const QString go = dir.filePath(u"go"_s);
    std::array<std::unique_ptr<QProcess>, 2> games;
    for (int i = 0; i < 2; ++i) {
        games[i] = std::make_unique<QProcess>();
        games[i]->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        games[i]->start(QStringLiteral(SAVETABLE),
                        {path, Players[i], QString::number(FirstMoves[i]), QString::number(Rounds),
                         u"2000"_s, go});
        QVERIFY(games[i]->waitForStarted());
    }
    QVERIFY(QFile(go).open(QIODevice::WriteOnly));

    // Meanwhile the table is looked at as the records window reads it, again and again.
    const RecordFile file(path);
    int looks = 0;
    while (games[0]->state() == QProcess::Running || games[1]->state() == QProcess::Running) {
        RecordTable table;
        if (!file.LoadRecords(table)) {
            ++looks;
            const QString problem = fault(table, results);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
        const QByteArray now = fileBytes(path);
        QVERIFY2(now.size() == 0 || now.size() == qMax<qsizetype>(60, before.size()),
                 qPrintable(u"%1 bytes"_s.arg(now.size())));
        QCOMPARE(now.mid(60), before.mid(60));
        games[0]->waitForFinished(1);
        games[1]->waitForFinished(1);
    }

    std::array<QList<qint64>, 2> spans;
    for (int i = 0; i < 2; ++i) {
        QVERIFY(games[i]->state() == QProcess::NotRunning || games[i]->waitForFinished(120000));
        QCOMPARE(games[i]->exitStatus(), QProcess::NormalExit);
        QCOMPARE(games[i]->exitCode(), 0);
        const QList<QByteArray> lines = games[i]->readAllStandardOutput().split('\n');
        QVERIFY(lines.size() >= 2);
        QCOMPARE(lines[0].trimmed().split(' ').size(), Rounds);
        for (const QByteArray &number : lines[1].split(' '))
            spans[i] << number.toLongLong();
        QCOMPARE(spans[i].size(), 2);
    }
    QVERIFY2(spans[0][0] < spans[1][1] && spans[1][0] < spans[0][1], "the games did not overlap");
    QVERIFY2(looks >= 10, qPrintable(u"looked %1 times only"_s.arg(looks)));

    // The five best of all results, and nothing else: every one of them qualified when it was
    // entered, and none can have been pushed out since.
    std::vector<std::pair<int, QString>> best;
    for (const auto &[name, moves] : results)
        best.emplace_back(moves, name);
    std::sort(best.begin(), best.end());
    QByteArray expected;
    for (int n = 0; n < 5; ++n)
        expected += rec(best[n].second, best[n].first);
    QCOMPARE(fileBytes(path), expected + before.mid(60));
    qInfo("%d looks at the table while both games saved", looks);
}

QTEST_GUILESS_MAIN(TestConcurrentSaves)
#include "tst_concurrentsaves.moc"
