// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/cp1251.h"
#include "records/recordentry.h"
#include "records/recordfile.h"
#include "records/recordslocation.h"

#include "filesizelimit.h"
#include "writeprotection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <QElapsedTimer>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/file.h>
#include <sys/stat.h>
#endif

using namespace Qt::Literals::StringLiterals;
using Reason = RecordFileError::Reason;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Bytes that make every record non-empty and every record distinct.
QByteArray pattern(int length)
{
    QByteArray bytes;
    for (int i = 0; i < length; ++i)
        bytes.append(char(i * 7 + 1));
    return bytes;
}

RecordTable sampleTable()
{
    RecordTable table;
    RecordEntry entry;
    entry.setName(QStringLiteral("Кот"));
    entry.setMoves(25);
    table.setEntry(1, entry);
    entry.setName(QStringLiteral("Ёж"));
    entry.setMoves(300);
    table.setEntry(3, entry);
    return table;
}

// A save's change that puts table in place of what the file holds.
RecordFile::Change replaceWith(const RecordTable &table)
{
    return [table](RecordTable &stored) {
        stored = table;
        return true;
    };
}

const QByteArray SampleBytes =
    QByteArray::fromHex("CAEEF220202020202020 1900") + QByteArray(12, '\0') +
    QByteArray::fromHex("A8E62020202020202020 2C01") + QByteArray(24, '\0');

} // namespace

class TestRecordFile : public QObject
{
    Q_OBJECT

private slots:
    void everyByteRoundTrips();
    void recordBytes_data();
    void recordBytes();
    void loadShortFile_data();
    void loadShortFile();
    void saveLeavesOtherBytes_data();
    void saveLeavesOtherBytes();
    void writeProtectedFileLoads();
    void unusableLocation_data();
    void unusableLocation();
    void lockHeldElsewhere();
    void saveStoppedPartWay_data();
    void saveStoppedPartWay();
    void pathChoice_data();
    void pathChoice();
    void pathBesideExecutable();
};

void TestRecordFile::everyByteRoundTrips()
{
    QSet<QChar> seen;
    for (int value = 0; value < 256; ++value) {
        const QChar ch = Cp1251::toUnicode(char(value));
        seen.insert(ch);
        QCOMPARE(Cp1251::fromUnicode(ch), std::optional<char>(char(value)));
    }
    QCOMPARE(seen.size(), 256);
}

void TestRecordFile::recordBytes_data()
{
    QTest::addColumn<bool>("assign");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("moves");
    QTest::addColumn<QByteArray>("bytes");
    const auto hex = [](const char *text) { return QByteArray::fromHex(text); };
    QTest::newRow("Кот, 25") << true << u"Кот"_s << 25 << hex("CAEEF220202020202020 1900");
    QTest::newRow("code page landmarks")
        << true << u"ЂџЁёАя№€Ґ\u00A0"_s << 1 << hex("809FA8B8C0FFB988A5A0 0100");
    QTest::newRow("never assigned") << false << QString() << 0 << QByteArray(12, '\0');
    QTest::newRow("empty name, 300")
        << true << QString() << 300 << hex("20202020202020202020 2C01");
    QTest::newRow("cut to 10") << true << u"Константинопольский"_s << 32767
                               << hex("CAEEEDF1F2E0EDF2E8ED FF7F");
    QTest::newRow("negative") << true << u"0123456789A"_s << -2 << hex("30313233343536373839 FEFF");
    QTest::newRow("unencodable") << true << u"中x"_s << 1 << hex("3F782020202020202020 0100");
    QTest::newRow("emoji") << true << u"Ян😀"_s << 1 << hex("DFED3F20202020202020 0100");
    QTest::newRow("11 emoji") << true << QString(u"😀"_s).repeated(11) << 1
                              << hex("3F3F3F3F3F3F3F3F3F3F 0100");
    QTest::newRow("ZWJ family") << true << u"👨‍👩‍👧a"_s << 1
                                << hex("3F612020202020202020 0100");
    QTest::newRow("decomposed й") << true << QString(u"и\u0306"_s).repeated(11) << 1
                                  << hex("E9E9E9E9E9E9E9E9E9E9 0100");
    QTest::newRow("control characters, CR LF as one")
        << true << u"a\tb\nc\r\nd\x01"_s << 1 << hex("6109620A633F64012020 0100");
    QTest::newRow("NUL inside") << true << u"ab"_s + QChar(0) + u"cd"_s << 1
                                << hex("61620063642020202020 0100");
    QTest::newRow("right-to-left override")
        << true << u"\u202Eשלום Вова"_s << 1 << hex("3F3F3F3F3F20C2EEE2E0 0100");
    QTest::newRow("accent without a composed form")
        << true << QString(u"ы\u0301"_s).repeated(12) << 1 << hex("3F3F3F3F3F3F3F3F3F3F 0100");
}

void TestRecordFile::recordBytes()
{
    QFETCH(bool, assign);
    QFETCH(QString, name);
    QFETCH(int, moves);
    QFETCH(QByteArray, bytes);
    RecordEntry entry;
    if (assign)
        entry.setName(name);
    entry.setMoves(qint16(moves));
    QCOMPARE(entry.toRecord(), bytes);
    const RecordEntry read = RecordEntry::fromRecord(bytes);
    QCOMPARE(read.moves(), moves);
    QCOMPARE(read.toRecord(), bytes);
}

void TestRecordFile::loadShortFile_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("no file") << -1;
    for (int length = 0; length <= 61; ++length)
        QTest::addRow("%d bytes", length) << length;
}

void TestRecordFile::loadShortFile()
{
    QFETCH(int, length);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Records.dat"_s);
    const QByteArray bytes = pattern(qMax(length, 0));
    if (length >= 0)
        writeFile(path, bytes);

    RecordTable table = sampleTable();
    QVERIFY(!RecordFile(path).LoadRecords(table));
    for (int n = 1; n <= 5; ++n) {
        const QByteArray expected =
            length >= n * 12 ? bytes.mid((n - 1) * 12, 12) : QByteArray(12, '\0');
        QCOMPARE(table.entry(n).toRecord(), expected);
    }
    QVERIFY(QFile::exists(path));
    QCOMPARE(fileBytes(path), bytes);
}

void TestRecordFile::saveLeavesOtherBytes_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("no file") << -1;
    QTest::newRow("empty file") << 0;
    QTest::newRow("30 bytes") << 30;
    QTest::newRow("60 bytes") << 60;
    QTest::newRow("75 bytes") << 75;
}

void TestRecordFile::saveLeavesOtherBytes()
{
    QFETCH(int, length);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Records.dat"_s);
    const QByteArray before = pattern(qMax(length, 0));
    if (length >= 0)
        writeFile(path, before);

    const RecordFile file(path);
    QVERIFY(!file.SaveRecords(replaceWith(sampleTable())));
    QVERIFY(!file.SaveRecords(replaceWith(sampleTable())));
    QCOMPARE(fileBytes(path), SampleBytes + before.mid(60));
}

void TestRecordFile::writeProtectedFileLoads()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Records.dat"_s);
    writeFile(path, SampleBytes);
    const WriteProtection protection(path);
    if (!protection.isActive())
        QSKIP("cannot write-protect a file here");

    RecordTable table;
    const RecordFile file(path);
    QVERIFY(!file.LoadRecords(table));
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(table.entry(n).toRecord(), SampleBytes.mid((n - 1) * 12, 12));

    table.setEntry(2, table.entry(1));
    for (const RecordFileResult &refused :
         {file.checkWritable(), file.SaveRecords(replaceWith(table))}) {
        QVERIFY(refused);
        QCOMPARE(refused->reason, Reason::AccessDenied);
    }
    QCOMPARE(fileBytes(path), SampleBytes);
}

void TestRecordFile::unusableLocation_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<Reason>("reason");
    QTest::newRow("Records.dat is a folder") << u"Records.dat"_s << Reason::IsDirectory;
    QTest::newRow("folder missing") << u"gone/Records.dat"_s << Reason::FolderMissing;
    QTest::newRow("folder is a file") << u"plain/Records.dat"_s << Reason::FolderMissing;
#ifndef Q_OS_WIN
    // Opened as files these would block (a FIFO without a writer) or never end (/dev/zero).
    QTest::newRow("a FIFO") << u"fifo"_s << Reason::NotRegularFile;
    QTest::newRow("a link to /dev/zero") << u"zero"_s << Reason::NotRegularFile;
#endif
}

void TestRecordFile::unusableLocation()
{
    QFETCH(QString, relativePath);
    QFETCH(Reason, reason);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"Records.dat"_s));
    writeFile(dir.filePath(u"plain"_s), "x");
#ifndef Q_OS_WIN
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(u"fifo"_s)).constData(), 0644), 0);
    QVERIFY(QFile::link(u"/dev/zero"_s, dir.filePath(u"zero"_s)));
#endif
    const QString path = dir.filePath(relativePath);
    const RecordFile file(path);

    RecordTable table = sampleTable();
    for (const RecordFileResult &result : {file.LoadRecords(table), file.checkWritable(),
                                           file.SaveRecords(replaceWith(sampleTable()))}) {
        QVERIFY(result);
        QCOMPARE(result->reason, reason);
        QCOMPARE(result->filePath, path);
    }
    QCOMPARE(table.entry(1), RecordEntry());
    QVERIFY(!QFileInfo(path).isFile());
}

// Another copy of the game holds the table's lock and does not let go (it is stopped, say): a
// load and a save each wait as long as a save can take, then give up, reported, and the file
// stays as it was.
void TestRecordFile::lockHeldElsewhere()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Records.dat"_s);
    writeFile(path, SampleBytes);
#ifdef Q_OS_WIN
    const HANDLE other = ::CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()),
                                       GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    QVERIFY(other != INVALID_HANDLE_VALUE);
    const auto release = qScopeGuard([other] { ::CloseHandle(other); });
    OVERLAPPED whole = {};
    QVERIFY(::LockFileEx(other, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole));
#else
    QFile other(path);
    QVERIFY(other.open(QIODevice::ReadOnly));
    QCOMPARE(::flock(other.handle(), LOCK_EX), 0);
#endif

    const RecordFile file(path);
    RecordTable table = sampleTable();
    QElapsedTimer waited;
    waited.start();
    const RecordFileResult loaded = file.LoadRecords(table);
    QVERIFY2(waited.elapsed() >= 4000 && waited.elapsed() < 10000, "the records window's wait");
    QVERIFY(loaded);
    QCOMPARE(loaded->reason, Reason::Busy);
    QCOMPARE(table.entry(1), RecordEntry());

    waited.restart();
    const RecordFileResult saved = file.SaveRecords(replaceWith(sampleTable()));
    QVERIFY(waited.elapsed() >= 4000 && waited.elapsed() < 10000);
    QVERIFY(saved);
    QCOMPARE(saved->reason, Reason::Busy);
    QCOMPARE(fileBytes(path), SampleBytes);
}

void TestRecordFile::saveStoppedPartWay_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("limit");
    QTest::newRow("no file, room for 24 bytes") << -1 << 24;
    QTest::newRow("30 bytes, no room for more") << 30 << 30;
    QTest::newRow("30 bytes, room for 59") << 30 << 59;
}

// A size limit stops the one write of the table part-way: the save is undone, and the file
// keeps the bytes and the length it had (a missing file is left empty).
void TestRecordFile::saveStoppedPartWay()
{
    QFETCH(int, length);
    QFETCH(int, limit);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Records.dat"_s);
    const QByteArray before = pattern(qMax(length, 0));
    if (length >= 0)
        writeFile(path, before);
    RecordFileResult result;
    bool limited = false;
    {
        const FileSizeLimit sizeLimit(limit);
        limited = sizeLimit.isActive();
        result = RecordFile(path).SaveRecords(replaceWith(sampleTable()));
    }
    if (!limited)
        QSKIP("cannot limit file sizes here");
    QVERIFY(result);
    QCOMPARE(result->reason, Reason::WriteFailed);
    QCOMPARE(result->filePath, path);
    QCOMPARE(fileBytes(path), before);
}

void TestRecordFile::pathChoice_data()
{
    QTest::addColumn<QString>("exeDir");
    QTest::addColumn<QString>("binDir");
    QTest::addColumn<QString>("dataDir");
    QTest::addColumn<QString>("path");
    const QString data = u"/home/p/.local/share/pirk"_s;
    QTest::newRow("portable") << u"/opt/games"_s << u"/usr/bin"_s << data
                              << u"/opt/games/Records.dat"_s;
    QTest::newRow("installed") << u"/usr/bin"_s << u"/usr/bin"_s << data
                               << data + u"/Records.dat"_s;
    QTest::newRow("installed, path not clean")
        << u"/usr/local/bin/"_s << u"/usr/local/./bin"_s << data << data + u"/Records.dat"_s;
    QTest::newRow("sibling name") << u"/usr/bin2"_s << u"/usr/bin"_s << data
                                  << u"/usr/bin2/Records.dat"_s;
    QTest::newRow("below the bin folder")
        << u"/usr/bin/x"_s << u"/usr/bin"_s << data << u"/usr/bin/x/Records.dat"_s;
    QTest::newRow("no install folder")
        << u"/usr/bin"_s << QString() << data << u"/usr/bin/Records.dat"_s;
    QTest::newRow("no data folder")
        << u"/usr/bin"_s << u"/usr/bin"_s << QString() << u"/usr/bin/Records.dat"_s;
}

void TestRecordFile::pathChoice()
{
    QFETCH(QString, exeDir);
    QFETCH(QString, binDir);
    QFETCH(QString, dataDir);
    QFETCH(QString, path);
    QCOMPARE(recordsFilePathFor(exeDir, binDir, dataDir), path);
}

void TestRecordFile::pathBesideExecutable()
{
    const QString exeDir = QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath();
    const QString workingDir = QDir::currentPath();
    const auto restore = qScopeGuard([&] { QDir::setCurrent(workingDir); });
    QVERIFY(QDir::setCurrent(QDir::rootPath()));
    QCOMPARE(recordsFilePath(), exeDir + u"/Records.dat"_s);
}

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
