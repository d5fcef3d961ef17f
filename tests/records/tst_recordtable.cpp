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

class FakePrompt : public NamePrompt
{
public:
    explicit FakePrompt(QString answer = {}) : m_answer(std::move(answer)) {}
    QString askName() override
    {
        ++asked;
        if (whileAsking)
            whileAsking();
        return m_answer;
    }
    int asked = 0;
    // Runs while the prompt is open: after the table was loaded, before it is saved.
    std::function<void()> whileAsking;

private:
    QString m_answer;
};

class FakeView : public RecordsView
{
public:
    void setRow(int n, const QString &name, qint16 moves) override
    {
        calls << u"row %1 [%2] %3"_s.arg(n).arg(name).arg(moves);
    }
    void showResult(qint16 moves) override { calls << u"result %1"_s.arg(moves); }
    void hideResult() override { calls << u"hide"_s; }
    void showModal() override { calls << u"exec"_s; }
    QStringList calls;
};

class FakeErrors : public RecordFileErrorSink
{
public:
    void reportFileError(const RecordFileError &error) override { errors << error; }
    QList<RecordFileError> errors;
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

QStringList rowsOf(const QByteArray &file)
{
    QStringList rows;
    for (int n = 1; n <= 5; ++n) {
        const RecordEntry entry = RecordEntry::fromRecord(file.mid((n - 1) * 12, 12));
        rows << u"row %1 [%2] %3"_s.arg(n).arg(entry.name()).arg(entry.moves());
    }
    return rows;
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

    FakeErrors errors;
    RecordKeeper keeper(RecordFile(path), errors);
    FakePrompt prompt(answer);
    FakeView view;
    QCOMPARE(keeper.AddResult(qint16(moves), prompt, view), place);

    QCOMPARE(prompt.asked, place != 0 ? 1 : 0);
    QCOMPARE(fileBytes(path), after);
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(keeper.table().entry(n).toRecord(), after.mid((n - 1) * 12, 12));
    QCOMPARE(view.calls,
             QStringList{u"result %1"_s.arg(moves)} + rowsOf(after) + QStringList{u"exec"_s});
    QVERIFY(errors.errors.isEmpty());
}

void TestRecordTable::recordsCommand_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("no file") << false << QByteArray()
                             << QStringList{u"row 1 [] 0"_s, u"row 2 [] 0"_s, u"row 3 [] 0"_s,
                                            u"row 4 [] 0"_s, u"row 5 [] 0"_s};
    QTest::newRow("stored as they are")
        << true
        << QByteArray("Ab\0cdefghi\xF9\xFF", 12) + rec("", 0) + rec("Zed", -300) +
               QByteArray::fromHex("CAEEF220202020202020 1900") + QByteArray(7, 'x')
        << QStringList{u"row 1 [Ab] -7"_s, u"row 2 [          ] 0"_s, u"row 3 [Zed       ] -300"_s,
                       u"row 4 [Кот       ] 25"_s, u"row 5 [] 0"_s};
}

void TestRecordTable::recordsCommand()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, rows);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Records.dat"_s);
    if (fileExists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    FakeErrors errors;
    RecordKeeper keeper(RecordFile(path), errors);
    FakeView view;
    keeper.showRecords(view);

    QCOMPARE(view.calls, QStringList{u"hide"_s} + rows + QStringList{u"exec"_s});
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(fileBytes(path), content);
    QVERIFY(errors.errors.isEmpty());
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

    FakeErrors errors;
    RecordKeeper keeper(RecordFile(path), errors);
    FakePrompt prompt(u"N"_s);
    FakeView view;
    if (won)
        QCOMPARE(keeper.AddResult(12, prompt, view), 0);
    else
        keeper.showRecords(view);

    QCOMPARE(errors.errors.size(), 1);
    QCOMPARE(errors.errors[0].reason, reason);
    QCOMPARE(errors.errors[0].operation,
             won ? RecordFileError::Operation::Enter : RecordFileError::Operation::Read);
    QCOMPARE(errors.errors[0].filePath, path);
    QCOMPARE(prompt.asked, 0);
    QCOMPARE(view.calls, QStringList{won ? u"result 12"_s : u"hide"_s} + rowsOf(QByteArray()) +
                             QStringList{u"exec"_s});
}

void TestRecordTable::failedSaveReportedOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Records.dat"_s);
    QFile empty(path);
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    FakeErrors errors;
    RecordKeeper keeper(RecordFile(path), errors);
    FakePrompt prompt(u"N"_s);
    FakeView view;

    int place = -1;
    bool limited = false;
    {
        const FileSizeLimit limit(0);
        limited = limit.isActive();
        place = keeper.AddResult(12, prompt, view);
    }
    if (!limited)
        QSKIP("cannot limit file sizes here");
    QCOMPARE(place, 0);
    QCOMPARE(prompt.asked, 1);
    QCOMPARE(errors.errors.size(), 1);
    QCOMPARE(errors.errors[0].reason, Reason::WriteFailed);
    QCOMPARE(errors.errors[0].operation, RecordFileError::Operation::Write);
    QCOMPARE(errors.errors[0].filePath, path);
    QCOMPARE(view.calls,
             QStringList{u"result 12"_s} + rowsOf(QByteArray()) + QStringList{u"exec"_s});
    QCOMPARE(keeper.table().entry(1), RecordEntry());
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

    FakeErrors errors;
    RecordKeeper keeper(RecordFile(path), errors);
    FakePrompt prompt(u"N"_s);
    FakeView view;
    std::unique_ptr<WriteProtection> protection;
    FakeErrors otherErrors;
    prompt.whileAsking = [&] {
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
            RecordKeeper other(RecordFile(path), otherErrors);
            FakePrompt otherPrompt(u"O"_s);
            FakeView otherView;
            QCOMPARE(other.AddResult(7, otherPrompt, otherView), 1);
            break;
        }
        }
    };
    const int entered = keeper.AddResult(qint16(moves), prompt, view);
    if (protection && !protection->isActive())
        QSKIP("cannot write-protect a file here");
    QCOMPARE(entered, place);

    QCOMPARE(prompt.asked, 1);
    QCOMPARE(fileBytes(path), after);
    QCOMPARE(view.calls,
             QStringList{u"result %1"_s.arg(moves)} + rowsOf(after) + QStringList{u"exec"_s});
    QVERIFY(otherErrors.errors.isEmpty());
    if (!failure) {
        QVERIFY(errors.errors.isEmpty());
    } else {
        QCOMPARE(errors.errors.size(), 1);
        QCOMPARE(errors.errors[0].reason, *failure);
        QCOMPARE(errors.errors[0].operation, RecordFileError::Operation::Write);
        QCOMPARE(errors.errors[0].filePath, path);
    }
}

QTEST_GUILESS_MAIN(TestRecordTable)
#include "tst_recordtable.moc"
