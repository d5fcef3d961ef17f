// SPDX-License-Identifier: GPL-3.0-or-later

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray None = "(no file)";

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : None;
}

// One record with an ASCII name, built by hand.
QByteArray rec(const char *name, int moves)
{
    return QByteArray(name).leftJustified(10, ' ') + char(moves & 0xFF) + char(moves >> 8 & 0xFF);
}

const QByteArray Empty(12, '\0');
const QByteArray Full = rec("A", 10) + rec("B", 20) + rec("C", 30) + rec("D", 40) + rec("E", 50);

struct Run
{
    bool killed = false;
    // The game said the result went into the table (savetable printed a slot, reported nothing).
    bool saved = false;
};

} // namespace

// A game saving a new record through its own save path (savetable, one won game) meets a fault at
// every system call of the save that touches the records file: it is killed there, or the call
// fails with a full disk or an I/O error; and it meets every file size limit below 60 bytes. A
// lock that fails as on a file system without locks does not stop the save.
// Afterwards the file holds the table from before or the table after, byte for byte, never a mix,
// with its bytes from offset 60 untouched; and the table after only when the game said so.
class TestSaveFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void faultAtEveryCall_data();
    void faultAtEveryCall();
    void cleanupTestCase();

private:
    // Runs savetable on path, under command (strace or prlimit with its arguments) when given.
    Run save(const QString &path, int moves, const QStringList &command = {}) const;
    void setFile(const QString &path, const QByteArray &bytes) const;
    // The system calls of a whole save that touch the file, in order.
    QStringList callsOfSave(const QString &path, const QByteArray &before, int moves) const;

    QString m_strace;
    int m_kills = 0;
    int m_failures = 0;
    int m_limits = 0;
};

void TestSaveFaults::initTestCase()
{
    m_strace = QStandardPaths::findExecutable(u"strace"_s);
    if (m_strace.isEmpty())
        QSKIP("strace is missing (Debian package strace)");
}

void TestSaveFaults::cleanupTestCase()
{
    qInfo("%d saves killed, %d met an injected error, %d under a file size limit", m_kills,
          m_failures, m_limits);
}

Run TestSaveFaults::save(const QString &path, int moves, const QStringList &command) const
{
    QProcess game;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // LeakSanitizer cannot look for leaks in a process that strace traces.
    environment.insert(u"ASAN_OPTIONS"_s,
                       environment.value(u"ASAN_OPTIONS"_s) + u":detect_leaks=0"_s);
    game.setProcessEnvironment(environment);
    const QStringList saveTable{QStringLiteral(SAVETABLE), path, u"N"_s, QString::number(moves),
                                u"1"_s};
    const QStringList all = command + saveTable;
    game.start(all.front(), all.mid(1));
    if (!game.waitForFinished(60000))
        return {};
    const bool killed = game.exitStatus() == QProcess::CrashExit || game.exitCode() == 128 + 9;
    const int place = game.readAllStandardOutput().split(' ').front().toInt();
    return {killed, !killed && game.exitCode() == 0 && place > 0};
}

void TestSaveFaults::setFile(const QString &path, const QByteArray &bytes) const
{
    QFile::remove(path);
    if (bytes == None)
        return;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList TestSaveFaults::callsOfSave(const QString &path, const QByteArray &before,
                                        int moves) const
{
    const QString log = path + u".calls"_s;
    setFile(path, before);
    save(path, moves, {m_strace, u"-qq"_s, u"-o"_s, log, u"-P"_s, path});
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression call(u"^(\\w+)\\("_s);
    QStringList calls;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (const auto match = call.match(QString::fromLatin1(line)); match.hasMatch())
            calls << match.captured(1);
    return calls;
}

void TestSaveFaults::faultAtEveryCall_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("moves");
    QTest::addColumn<QByteArray>("after");
    const QByteArray first =
        rec("N", 5) + rec("A", 10) + rec("B", 20) + rec("C", 30) + rec("D", 40);
    const QByteArray second =
        rec("A", 10) + rec("N", 15) + rec("B", 20) + rec("C", 30) + rec("D", 40);
    const QByteArray alone = rec("N", 5) + Empty + Empty + Empty + Empty;
    QTest::newRow("no file, slot 1") << None << 5 << alone;
    QTest::newRow("empty file, slot 1") << QByteArray() << 5 << alone;
    QTest::newRow("30 bytes, slot 2") << rec("A", 10) + rec("B", 20) + "partly" << 15
                                      << rec("A", 10) + rec("N", 15) + rec("B", 20) + Empty + Empty;
    QTest::newRow("60 bytes, slot 1") << Full << 5 << first;
    QTest::newRow("60 bytes, slot 2") << Full << 15 << second;
    QTest::newRow("a tail, slot 1") << Full + "the tail" << 5 << first + "the tail";
    QTest::newRow("a tail, slot 2") << Full + "the tail" << 15 << second + "the tail";
}

void TestSaveFaults::faultAtEveryCall()
{
    QFETCH(QByteArray, before);
    QFETCH(int, moves);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Records.dat"_s);
    // Before the save the game's first load makes a missing file, empty.
    const QByteArray old = before == None ? QByteArray() : before;
    const auto check = [&](const QString &fault, const Run &run) {
        const auto reset = qScopeGuard([&] { setFile(path, before); });
        const QByteArray now = fileBytes(path);
        const bool untouched = now == old || (before == None && now == None);
        QVERIFY2(run.saved ? now == after : untouched || (run.killed && now == after),
                 qPrintable(u"%1: %2 (%3)"_s.arg(fault, QString(now.toHex(' ')),
                                                 run.saved ? u"saved"_s : u"not saved"_s)));
    };

    const QStringList calls = callsOfSave(path, before, moves);
    QVERIFY2(calls.contains(u"pwrite64"_s) && calls.contains(u"flock"_s),
             qPrintable(calls.join(' ')));
    QCOMPARE(fileBytes(path), after);
    setFile(path, before);

    QMap<QString, int> seen;
    for (const QString &call : calls) {
        const QString when = u":when=%1"_s.arg(++seen[call]);
        const Run killed = save(path, moves,
                                {m_strace, u"-qq"_s, u"-o"_s, u"/dev/null"_s, u"-P"_s, path,
                                 u"-e"_s, u"inject=%1:signal=KILL%2"_s.arg(call, when)});
        QVERIFY2(killed.killed, qPrintable(call + when));
        ++m_kills;
        check(u"killed at "_s + call + when, killed);
        const bool lock = call == u"flock";
        if (!lock && call != u"pwrite64" && call != u"fdatasync" && call != u"fsync")
            continue;
        const QStringList errors = lock ? QStringList{u"ENOLCK"_s, u"EOPNOTSUPP"_s, u"ENOSYS"_s}
                                        : QStringList{u"ENOSPC"_s, u"EIO"_s};
        for (const QString &error : errors) {
            const Run failed = save(path, moves,
                                    {m_strace, u"-qq"_s, u"-o"_s, u"/dev/null"_s, u"-P"_s, path,
                                     u"-e"_s, u"inject=%1:error=%2%3"_s.arg(call, error, when)});
            QVERIFY(!failed.killed);
            QVERIFY2(!lock || failed.saved, qPrintable(error + u" at "_s + call + when));
            ++m_failures;
            check(error + u" at "_s + call + when, failed);
        }
    }

    for (int limit = 0; limit < 60; ++limit) {
        const Run limited = save(path, moves, {u"prlimit"_s, u"--fsize=%1"_s.arg(limit)});
        // A limit stops any write that reaches past it, even within the file's length.
        QVERIFY2(!limited.killed && !limited.saved, "a file size limit ended the game or a save");
        ++m_limits;
        check(u"file size limit %1"_s.arg(limit), limited);
    }
}

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
