// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <array>

// One result of the record table. The name is kept as the ten Windows-1251 bytes the records
// file holds, so loading and saving an entry gives back its bytes unchanged, whatever they are.
class RecordEntry
{
public:
    static constexpr int NameLength = 10;
    static constexpr int RecordSize = 12;

    // A never-written entry: ten NUL bytes for a name, 0 moves.
    RecordEntry() = default;

    // Cuts name to its first ten characters as the player sees them (grapheme clusters of its NFC
    // form) and pads a shorter one with spaces. Each such character takes one byte; one the code
    // page lacks, or one made of several code points, is stored as '?'.
    void setName(const QString &name);
    // The name for display: decoded up to the first NUL byte, trailing spaces kept.
    QString name() const;
    QByteArray nameBytes() const;

    qint16 moves() const { return m_moves; }
    void setMoves(qint16 moves) { m_moves = moves; }
    // A slot holding no result.
    bool isEmpty() const { return m_moves == 0; }

    // The 12 bytes of the record: name bytes, then the moves as little-endian two's complement.
    QByteArray toRecord() const;
    // Takes any 12 bytes as they are; fewer than 12 bytes give a never-written entry.
    static RecordEntry fromRecord(QByteArrayView record);

    friend bool operator==(const RecordEntry &, const RecordEntry &) = default;

private:
    std::array<char, NameLength> m_name{};
    qint16 m_moves = 0;
};
