// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordkeeper.h"
#include "records/recordtable.h"

#include "filesizelimit.h"
#include "writeprotection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using Reason = RecordFileError::Reason;

namespace {

// A player who answers the name prompt with answer; whileAsking runs while the prompt is open,
// after the table was loaded and before it is saved.
struct Player
{
    explicit Player(QString answer) : answer(std::move(answer)) {}

    QString answer;
    int asked = 0;
    std::function<void()> whileAsking;

    RecordKeeper::AskName prompt()
    {
        return [this] {
            ++asked;
            if (whileAsking)
                whileAsking();
            return answer;
        };
    }
};

// One record with an ASCII name, built by hand rather than by the code under test.
QByteArray rec(const char *name, qint16 moves)
{
    return QByteArray(name).leftJustified(10, ' ') + char(moves & 0xFF) + char(moves >> 8 & 0xFF);
}

const QByteArray Empty(12, '\0');

// What happens to the file while the player types a name.
enum class Change {
    Removed,
    Shortened,
    ReplacedByFolder,
    FolderRemoved,
    WriteProtected,
    AnotherCopySaved, // another copy of the game entered a 7-move result
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The 60 bytes of the table a records window is given to show.
QByteArray shownBytes(const RecordsShown &shown)
{
    if (!shown.table)
        return "(not read)";
    QByteArray bytes;
    for (int n = 1; n <= 5; ++n)
        bytes += shown.table->entry(n).toRecord();
    return bytes;
}

} // namespace

class TestRecordTable : public QObject
{
    Q_OBJECT

private slots:
    void insert_data();
    void insert();
    void slotsOutsideTheTable();
    void addResult_data();
    void addResult();
    void recordsCommand_data();
    void recordsCommand();
    void unusableFileReportedOnce_data();
    void unusableFileReportedOnce();
    void failedSaveReportedOnce();
    void fileChangedWhileAsking_data();
    void fileChangedWhileAsking();
};

void TestRecordTable::insert_data()
{
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<int>("moves");
    QTest::addColumn<int>("place");
    QTest::addColumn<QList<int>>("after");
    const QList<int> full{10, 20, 30, 40, 50};
    QTest::newRow("empty table") << QList<int>{0, 0, 0, 0, 0} << 7 << 1
                                 << QList<int>{7, 0, 0, 0, 0};
    QTest::newRow("15 into 10, 20")
        << QList<int>{10, 20, 0, 0, 0} << 15 << 2 << QList<int>{10, 15, 20, 0, 0};
    QTest::newRow("50 ties the last") << full << 50 << 0 << full;
    QTest::newRow("49") << full << 49 << 5 << QList<int>{10, 20, 30, 40, 49};
    QTest::newRow("30 goes below the older 30")
        << full << 30 << 4 << QList<int>{10, 20, 30, 30, 40};
    QTest::newRow("5") << full << 5 << 1 << QList<int>{5, 10, 20, 30, 40};
    QTest::newRow("ties everywhere")
        << QList<int>{10, 10, 10, 10, 0} << 10 << 5 << QList<int>{10, 10, 10, 10, 10};
    QTest::newRow("negative moves")
        << QList<int>{-5, 10, 0, 0, 0} << 3 << 2 << QList<int>{-5, 3, 10, 0, 0};
    QTest::newRow("negative last slot")
        << QList<int>{1, 2, 3, 4, -3} << 1 << 0 << QList<int>{1, 2, 3, 4, -3};
    QTest::newRow("gap on top, one pass only")
        << QList<int>{0, 10, 20, 30, 40} << 35 << 5 << QList<int>{10, 0, 20, 30, 35};
}

void TestRecordTable::insert()
{
    QFETCH(QList<int>, before);
    QFETCH(int, moves);
    QFETCH(int, place);
    QFETCH(QList<int>, after);
    RecordTable table;
    for (int n = 1; n <= 5; ++n) {
        RecordEntry entry;
        entry.setName(u"old %1"_s.arg(n));
        entry.setMoves(qint16(before[n - 1]));
        table.setEntry(n, entry);
    }
    QCOMPARE(table.qualifies(qint16(moves)), place != 0);
    QCOMPARE(table.insert(qint16(moves), u"new"_s), place);
    QList<int> actual;
    for (int n = 1; n <= 5; ++n)
        actual << table.entry(n).moves();
    QCOMPARE(actual, after);
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(table.entry(n).name().startsWith(u"new"), n == place);
}

void TestRecordTable::slotsOutsideTheTable()
{
    RecordTable table;
    RecordEntry entry;
    entry.setMoves(9);
    table.setEntry(0, entry);
    table.setEntry(6, entry);
    for (int slot : {-1, 0, 1, 5, 6})
        QCOMPARE(table.entry(slot), RecordEntry());
}

void TestRecordTable::addResult_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("moves");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("place");
    QTest::addColumn<QByteArray>("after");
    const QByteArray full =
        rec("A", 10) + rec("B", 20) + rec("C", 30) + rec("D", 40) + rec("E", 50);
    QTest::newRow("first win, no file")
        << false << QByteArray() << 25 << u"Кот"_s << 1
        << QByteArray::fromHex("CAEEF220202020202020 1900") + Empty + Empty + Empty + Empty;
    QTest::newRow("15 into 10, 20")
        << true << rec("A", 10) + rec("B", 20) + Empty + Empty + Empty << 15 << u"N"_s << 2
        << rec("A", 10) + rec("N", 15) + rec("B", 20) + Empty + Empty;
    QTest::newRow("50 ties the last") << true << full << 50 << u"N"_s << 0 << full;
    QTest::newRow("49") << true << full << 49 << u"N"_s << 5
                        << rec("A", 10) + rec("B", 20) + rec("C", 30) + rec("D", 40) + rec("N", 49);
    QTest::newRow("30") << true << full << 30 << u"N"_s << 4
                        << rec("A", 10) + rec("B", 20) + rec("C", 30) + rec("N", 30) + rec("D", 40);
    QTest::newRow("5") << true << full << 5 << u"N"_s << 1
                       << rec("N", 5) + rec("A", 10) + rec("B", 20) + rec("C", 30) + rec("D", 40);
    QTest::newRow("long name") << true << QByteArray() << 1 << u"Abcdefghijklm"_s << 1
                               << rec("Abcdefghij", 1) + Empty + Empty + Empty + Empty;
    QTest::newRow("cancelled prompt")
        << true << full << 1 << QString() << 1
        << rec("", 1) + rec("A", 10) + rec("B", 20) + rec("C", 30) + rec("D", 40);
}

void TestRecordTable::addResult()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, before);
    QFETCH(int, moves);
    QFETCH(QString, answer);
    QFETCH(int, place);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Records.dat"_s);
    if (fileExists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }

    Player player{answer};
    const RecordsShown shown =
        RecordKeeper(RecordFile(path)).AddResult(qint16(moves), player.prompt());

    QCOMPARE(shown.place, place);
    QCOMPARE(player.asked, place != 0 ? 1 : 0);
    QCOMPARE(fileBytes(path), after);
    QCOMPARE(shownBytes(shown), after.left(60));
    QVERIFY(!shown.failure);
    QVERIFY(!shown.overtaken);
}

void TestRecordTable::recordsCommand_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("table");
    QTest::newRow("no file") << false << QByteArray() << QByteArray(60, '\0');
    const QByteArray stored = QByteArray("Ab\0cdefghi\xF9\xFF", 12) + rec("", 0) +
                              rec("Zed", -300) + QByteArray::fromHex("CAEEF220202020202020 1900");
    QTest::newRow("stored as they are") << true << stored + QByteArray(7, 'x') << stored + Empty;
}

void TestRecordTable::recordsCommand()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, table);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Records.dat"_s);
    if (fileExists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    const RecordsShown shown = RecordKeeper(RecordFile(path)).ViewRec();

    QCOMPARE(shownBytes(shown), table);
    QVERIFY(!shown.failure);
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(fileBytes(path), content);
}

void TestRecordTable::unusableFileReportedOnce_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<Reason>("reason");
    QTest::addColumn<bool>("won");
    QTest::newRow("folder, win") << u"Records.dat"_s << Reason::IsDirectory << true;
    QTest::newRow("folder, records command") << u"Records.dat"_s << Reason::IsDirectory << false;
    QTest::newRow("under a file, win") << u"plain/Records.dat"_s << Reason::FolderMissing << true;
    QTest::newRow("under a file, records command")
        << u"plain/Records.dat"_s << Reason::FolderMissing << false;
}

void TestRecordTable::unusableFileReportedOnce()
{
    QFETCH(QString, relativePath);
    QFETCH(Reason, reason);
    QFETCH(bool, won);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"Records.dat"_s));
    QFile plain(dir.filePath(u"plain"_s));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    const QString path = dir.filePath(relativePath);

    const RecordKeeper keeper{RecordFile(path)};
    Player player{u"N"_s};
    const RecordsShown shown = won ? keeper.AddResult(12, player.prompt()) : keeper.ViewRec();

    QVERIFY(shown.failure);
    QCOMPARE(shown.failure->reason, reason);
    QCOMPARE(shown.failure->operation,
             won ? RecordFileError::Operation::Enter : RecordFileError::Operation::Read);
    QCOMPARE(shown.failure->filePath, path);
    QCOMPARE(shown.place, 0);
    QCOMPARE(player.asked, 0);
    QCOMPARE(shownBytes(shown), "(not read)");
}

void TestRecordTable::failedSaveReportedOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Records.dat"_s);
    QFile empty(path);
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    Player player{u"N"_s};

    RecordsShown shown;
    bool limited = false;
    {
        const FileSizeLimit limit(0);
        limited = limit.isActive();
        shown = RecordKeeper(RecordFile(path)).AddResult(12, player.prompt());
    }
    if (!limited)
        QSKIP("cannot limit file sizes here");
    QCOMPARE(shown.place, 0);
    QCOMPARE(player.asked, 1);
    QVERIFY(shown.failure);
    QCOMPARE(shown.failure->reason, Reason::WriteFailed);
    QCOMPARE(shown.failure->operation, RecordFileError::Operation::Write);
    QCOMPARE(shown.failure->filePath, path);
    QCOMPARE(shownBytes(shown), QByteArray(60, '\0'));
    QCOMPARE(fileBytes(path), QByteArray());
}

void TestRecordTable::fileChangedWhileAsking_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<int>("moves");
    QTest::addColumn<int>("place");
    QTest::addColumn<std::optional<Reason>>("failure");
    QTest::addColumn<QByteArray>("after");
    const QByteArray tail = "tail";
    // The result goes into the table as the file holds it once the name has been entered.
    QTest::newRow("removed") << Change::Removed << 5 << 1 << std::optional<Reason>()
                             << rec("N", 5) + Empty + Empty + Empty + Empty;
    QTest::newRow("replaced by a shorter one")
        << Change::Shortened << 5 << 1 << std::optional<Reason>()
        << rec("N", 5) + "a shorter fi" + Empty + Empty + Empty;
    QTest::newRow("replaced by a folder")
        << Change::ReplacedByFolder << 5 << 0 << std::optional(Reason::IsDirectory) << QByteArray();
    QTest::newRow("its folder removed")
        << Change::FolderRemoved << 5 << 0 << std::optional(Reason::FolderMissing) << QByteArray();
    QTest::newRow("write-protected")
        << Change::WriteProtected << 5 << 0 << std::optional(Reason::AccessDenied)
        << rec("A", 10) + rec("B", 20) + rec("C", 30) + rec("D", 40) + rec("E", 50) + tail;
    QTest::newRow("another copy saved, both kept")
        << Change::AnotherCopySaved << 5 << 1 << std::optional<Reason>()
        << rec("N", 5) + rec("O", 7) + rec("A", 10) + rec("B", 20) + rec("C", 30) + tail;
    QTest::newRow("another copy saved, this one no longer qualifies")
        << Change::AnotherCopySaved << 45 << 0 << std::optional<Reason>()
        << rec("O", 7) + rec("A", 10) + rec("B", 20) + rec("C", 30) + rec("D", 40) + tail;
}

// The table was loaded before the change; the records window shows what the file holds after
// the save, so a save that failed never shows the new result.
void TestRecordTable::fileChangedWhileAsking()
{
    QFETCH(Change, change);
    QFETCH(int, moves);
    QFETCH(int, place);
    QFETCH(std::optional<Reason>, failure);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"records"_s);
    QVERIFY(QDir().mkdir(folder));
    const QString path = folder + u"/Records.dat"_s;
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(rec("A", 10) + rec("B", 20) + rec("C", 30) + rec("D", 40) + rec("E", 50) +
                   "tail");
    }

    Player player{u"N"_s};
    std::unique_ptr<WriteProtection> protection;
    player.whileAsking = [&] {
        switch (change) {
        case Change::Removed:
            QFile::remove(path);
            break;
        case Change::Shortened: {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write("a shorter file");
            break;
        }
        case Change::ReplacedByFolder:
            QFile::remove(path);
            QDir().mkdir(path);
            break;
        case Change::FolderRemoved:
            QDir(folder).removeRecursively();
            break;
        case Change::WriteProtected:
            protection = std::make_unique<WriteProtection>(path);
            break;
        case Change::AnotherCopySaved: {
            Player other{u"O"_s};
            const RecordsShown saved = RecordKeeper(RecordFile(path)).AddResult(7, other.prompt());
            QCOMPARE(saved.place, 1);
            QVERIFY(!saved.failure);
            break;
        }
        }
    };
    const RecordsShown shown =
        RecordKeeper(RecordFile(path)).AddResult(qint16(moves), player.prompt());
    if (protection && !protection->isActive())
        QSKIP("cannot write-protect a file here");

    QCOMPARE(shown.place, place);
    QCOMPARE(shown.overtaken, place == 0 && !failure);
    QCOMPARE(player.asked, 1);
    QCOMPARE(fileBytes(path), after);
    QCOMPARE(shownBytes(shown), after.isEmpty() ? "(not read)" : after.left(60));
    QCOMPARE(shown.failure.has_value(), failure.has_value());
    if (failure) {
        QCOMPARE(shown.failure->reason, *failure);
        QCOMPARE(shown.failure->operation, RecordFileError::Operation::Write);
        QCOMPARE(shown.failure->filePath, path);
    }
}

QTEST_GUILESS_MAIN(TestRecordTable)
#include "tst_recordtable.moc"
