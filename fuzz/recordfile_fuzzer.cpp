// SPDX-License-Identifier: GPL-3.0-or-later

// The record file's fuzzer: any bytes as Records.dat, and a won game entered into the table they
// hold the way the game enters it (load, qualification test, insert with the player's answer,
// save, and the records window filled from the file again). Every input is entered twice: once
// into the file as it is, and once into the same records put in the table's order first, so
// that the order after an insert is checked on every input. A broken property aborts.
//
// An input is
//   bytes 0 and 1  the winning count, little-endian two's complement (any value);
//   byte 2         the length n of the player's answer, in UTF-16 code units;
//   next 2n bytes  the answer, UTF-16 little-endian: any code units, NUL and lone surrogates too;
//   the rest       the contents of Records.dat.
// An input cut short leaves the missing fields 0 or empty.
#include "records/recordkeeper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int Slots = RecordTable::SlotCount;
constexpr int TableBytes = Slots * RecordEntry::RecordSize;

struct Input
{
    qint16 moves = 0;
    QString answer;
    QByteArray file;
};

void check(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "Broken: %s\n", property);
        std::abort();
    }
}

Input parse(const uint8_t *data, size_t size)
{
    Input input;
    size_t at = 0;
    auto next = [&]() -> unsigned { return at < size ? data[at++] : 0; };
    const unsigned low = next();
    input.moves = qint16(quint16(low | next() << 8));
    const size_t units = next();
    for (size_t i = 0; i < units && at < size; ++i) {
        const unsigned first = next();
        input.answer.append(QChar(char16_t(first | next() << 8)));
    }
    if (at < size)
        input.file = QByteArray(reinterpret_cast<const char *>(data + at), qsizetype(size - at));
    return input;
}

// Record n as the file holds it; a record the file does not hold in full reads as never written.
QByteArray recordIn(const QByteArray &file, int n)
{
    const QByteArray record = file.mid((n - 1) * RecordEntry::RecordSize, RecordEntry::RecordSize);
    return record.size() == RecordEntry::RecordSize ? record : RecordEntry().toRecord();
}

QByteArray bytesOf(const RecordTable &table)
{
    QByteArray bytes;
    for (int n = 1; n <= Slots; ++n)
        bytes += table.entry(n).toRecord();
    return bytes;
}

// The table's order: the filled entries by ascending moves, then the empty ones.
bool inOrder(const RecordTable &table)
{
    for (int n = 1; n < Slots; ++n) {
        const RecordEntry &upper = table.entry(n);
        const RecordEntry &lower = table.entry(n + 1);
        if (!lower.isEmpty() && (upper.isEmpty() || lower.moves() < upper.moves()))
            return false;
    }
    return true;
}

// The same records in the table's order, equal ones as they stood; the bytes after them kept.
QByteArray putInOrder(const QByteArray &file)
{
    std::vector<QByteArray> records;
    for (int n = 1; n <= Slots; ++n)
        records.push_back(recordIn(file, n));
    const auto rank = [](const QByteArray &record) {
        const RecordEntry entry = RecordEntry::fromRecord(record);
        return entry.isEmpty() ? 1 << 16 : int(entry.moves());
    };
    std::stable_sort(records.begin(), records.end(),
                     [&](const QByteArray &a, const QByteArray &b) { return rank(a) < rank(b); });
    QByteArray ordered;
    for (const QByteArray &record : records)
        ordered += record;
    return ordered + file.mid(TableBytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    check(file.open(QIODevice::ReadOnly), "the file is still there");
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
          "the fuzzer could write its input");
}

// What the table must be after a result enters a table in order: the new entry below every
// entry with as few moves or fewer and above the rest, and slot 5's old entry gone.
std::pair<QByteArray, int> designOutcome(const RecordTable &before, const RecordEntry &entry)
{
    std::vector<RecordEntry> entries;
    for (int n = 1; n < Slots; ++n)
        entries.push_back(before.entry(n));
    const auto place = std::find_if(entries.begin(), entries.end(), [&](const RecordEntry &e) {
        return e.isEmpty() || e.moves() > entry.moves();
    });
    const int slot = int(place - entries.begin()) + 1;
    entries.insert(place, entry);
    QByteArray bytes;
    for (const RecordEntry &e : entries)
        bytes += e.toRecord();
    return {bytes, slot};
}

void enterResult(const Input &input, const QByteArray &contents, const QString &path)
{
    writeFile(path, contents);
    const RecordFile file(path);

    RecordTable before;
    check(!file.LoadRecords(before), "an ordinary file loads");
    for (int n = 1; n <= Slots; ++n)
        check(before.entry(n).toRecord() == recordIn(contents, n),
              "loading takes every record as the file holds it");

    int asked = 0;
    const RecordsShown shown = RecordKeeper(file).AddResult(input.moves, [&] {
        ++asked;
        return input.answer;
    });
    const int place = shown.place;
    const QByteArray saved = readFile(path);

    check(!shown.failure && shown.table, "an ordinary file reports no failure");
    const RecordTable after = shown.table.value_or(RecordTable());
    const RecordEntry last = before.entry(Slots);
    const bool qualifies = last.isEmpty() || input.moves < last.moves();
    check(asked == (qualifies ? 1 : 0), "the name is asked for exactly when it qualifies");

    if (qualifies) {
        RecordEntry entry;
        entry.setName(input.answer);
        entry.setMoves(input.moves);
        check(place >= 1 && place <= Slots && after.entry(place) == entry,
              "the result stands in the slot AddResult names");
        check(saved.size() == qMax<qsizetype>(TableBytes, contents.size()),
              "a save leaves the file 60 bytes long or as long as it was");
        check(saved.left(TableBytes) == bytesOf(after), "the file holds the table saved");

        std::vector<QByteArray> expected{entry.toRecord()};
        std::vector<QByteArray> kept;
        for (int n = 1; n <= Slots; ++n) {
            if (n < Slots)
                expected.push_back(before.entry(n).toRecord());
            kept.push_back(after.entry(n).toRecord());
        }
        std::sort(expected.begin(), expected.end());
        std::sort(kept.begin(), kept.end());
        check(kept == expected, "an insert drops slot 5 and loses or doubles no other entry");

        if (inOrder(before) && input.moves != 0) {
            const auto [bytes, slot] = designOutcome(before, entry);
            check(bytesOf(after) == bytes && place == slot,
                  "an insert into a table in order puts it where the order says");
            check(inOrder(after), "a table in order stays in order");
        }
    } else {
        check(place == 0, "a result that does not qualify enters no slot");
        check(saved == contents, "a result that does not qualify leaves the file untouched");
    }
    check(saved.mid(TableBytes) == contents.mid(TableBytes),
          "the bytes from offset 60 on are never changed");

    RecordTable reloaded;
    check(!file.LoadRecords(reloaded), "the saved file loads");
    check(bytesOf(reloaded) == bytesOf(after), "the window shows the table saved");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Every save syncs the file to its disk, which would take most of each run; in memory (tmpfs,
    // where there is one) syncing costs nothing.
    static const QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                       ? QStringLiteral("/dev/shm/recordfile_fuzzer-XXXXXX")
                                       : QDir::tempPath() +
                                             QStringLiteral("/recordfile_fuzzer-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("Records.dat"));
    check(dir.isValid(), "a temporary folder for the file");

    const Input input = parse(data, size);
    enterResult(input, input.file, path);
    enterResult(input, putInOrder(input.file), path);
    return 0;
}
