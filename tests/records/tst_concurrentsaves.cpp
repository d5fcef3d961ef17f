#include "savedrecord.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <array>
#include <csignal>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Rounds = 3000;

// Whether record n is one that savetable wrote whole, in any round.
bool writtenWhole(const QByteArray &record, int n)
{
    static const QRegularExpression name(u"^([AB])(\\d)-(\\d+) *$"_s);
    const QRegularExpressionMatch match = name.match(RecordEntry::fromRecord(record).name());
    if (!match.hasMatch() || match.captured(2).toInt() != n)
        return false;
    const int round = match.captured(3).toInt();
    return round < Rounds && record == savedRecord(match.captured(1).front(), n, round).toRecord();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Stops a running process between two system calls, so that no write of it is under way.
bool pause(QProcess &process)
{
    const qint64 pid = process.processId();
    if (pid <= 0 || ::kill(pid_t(pid), SIGSTOP) != 0)
        return false;
    for (int i = 0; i < 5000; ++i) {
        QFile stat(u"/proc/%1/stat"_s.arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray line = stat.readAll();
        const char state = line.mid(line.lastIndexOf(')') + 2, 1).front();
        if (state == 'T' || state == 't')
            return true;
        QThread::usleep(100);
    }
    return false;
}

void resume(QProcess &process)
{
    if (const qint64 pid = process.processId(); pid > 0)
        ::kill(pid_t(pid), SIGCONT);
}

} // namespace

// Two running games saving their tables into one records file at the same moment, record by
// record, many rounds over: nothing guards the file, yet no record may ever be torn or stand in
// another's place, and the file keeps its length.
class TestConcurrentSaves : public QObject
{
    Q_OBJECT

private slots:
    void twoGamesSaveAtOnce_data();
    void twoGamesSaveAtOnce();
};

void TestConcurrentSaves::twoGamesSaveAtOnce_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("no file") << -1;
    QTest::newRow("60 bytes") << 60;
    QTest::newRow("75 bytes") << 75;
}

void TestConcurrentSaves::twoGamesSaveAtOnce()
{
    QFETCH(int, length);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Records.dat"_s);
    QByteArray before;
    if (length >= 0) {
        for (int n = 1; n <= 5; ++n)
            before += savedRecord(u'A', n, 0).toRecord();
        before = before.leftJustified(length, 'x');
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }

    const QString go = dir.filePath(u"go"_s);
    std::array<std::unique_ptr<QProcess>, 2> games;
    const std::array<QChar, 2> writers{u'A', u'B'};
    for (int i = 0; i < 2; ++i) {
        games[i] = std::make_unique<QProcess>();
        games[i]->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        games[i]->start(QStringLiteral(SAVETABLE),
                        {path, QString(writers[i]), QString::number(Rounds), go});
        QVERIFY(games[i]->waitForStarted());
    }
    QVERIFY(QFile(go).open(QIODevice::WriteOnly));

    // Looks at the file again and again while both save, each time with both stopped between
    // two writes.
    // Looks at the file again and again while they save, each time with both stopped between two
    // writes. A game that has saved its last round says so and waits to be told to end.
    const auto saving = [](QProcess &game) {
        if (!game.canReadLine())
            game.waitForReadyRead(0);
        return game.state() == QProcess::Running && !game.canReadLine();
    };
    int looks = 0;
    while (saving(*games[0]) || saving(*games[1])) {
        const bool paused = pause(*games[0]) && pause(*games[1]);
        const QByteArray now = fileBytes(path);
        for (const auto &game : games)
            resume(*game);
        if (!paused)
            continue;
        ++looks;
        const qsizetype whole = qMin(now.size(), 60) / 12 * 12;
        QVERIFY2(now.size() == qMax(60, length) || (length < 60 && now.size() == whole),
                 qPrintable(u"%1 bytes"_s.arg(now.size())));
        for (int n = 1; n * 12 <= whole; ++n) {
            const QByteArray record = now.mid((n - 1) * 12, 12);
            QVERIFY2(writtenWhole(record, n) || record == before.mid((n - 1) * 12, 12),
                     qPrintable(u"record %1: %2"_s.arg(n).arg(QString(record.toHex(' ')))));
        }
        QCOMPARE(now.mid(60), before.mid(60));
        QThread::msleep(2);
    }
    for (const auto &game : games)
        game->closeWriteChannel();

    std::array<QList<qint64>, 2> spans;
    for (int i = 0; i < 2; ++i) {
        QVERIFY(games[i]->waitForFinished(60000));
        QCOMPARE(games[i]->exitStatus(), QProcess::NormalExit);
        QCOMPARE(games[i]->exitCode(), 0);
        for (const QByteArray &number : games[i]->readAllStandardOutput().trimmed().split(' '))
            spans[i] << number.toLongLong();
        QCOMPARE(spans[i].size(), 2);
    }
    QVERIFY2(spans[0][0] < spans[1][1] && spans[1][0] < spans[0][1], "the saves did not overlap");
    QVERIFY2(looks >= 10, qPrintable(u"looked %1 times only"_s.arg(looks)));

    const QByteArray after = fileBytes(path);
    QCOMPARE(after.size(), qMax(60, length));
    QCOMPARE(after.mid(60), before.mid(60));
    // Each game's last save of record n was its last round's, and one of them came last.
    for (int n = 1; n <= 5; ++n) {
        const QByteArray record = after.mid((n - 1) * 12, 12);
        QVERIFY2(record == savedRecord(u'A', n, Rounds - 1).toRecord() ||
                     record == savedRecord(u'B', n, Rounds - 1).toRecord(),
                 qPrintable(u"record %1: %2"_s.arg(n).arg(QString(record.toHex(' ')))));
    }
    qInfo("%d looks at the file while both saved", looks);
}

QTEST_GUILESS_MAIN(TestConcurrentSaves)
#include "tst_concurrentsaves.moc"
