// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordentry.h"

#include "records/cp1251.h"

#include <QTextBoundaryFinder>
#include <algorithm>

void RecordEntry::setName(const QString &name)
{
    const QString text = name.normalized(QString::NormalizationForm_C);
    m_name.fill(' ');
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    for (int i = 0; i < NameLength; ++i) {
        const qsizetype end = clusters.toNextBoundary();
        if (end < 0)
            break;
        const QStringView cluster = QStringView(text).sliced(start, end - start);
        const std::optional<char> byte =
            cluster.size() == 1 ? Cp1251::fromUnicode(cluster.front()) : std::nullopt;
        m_name[i] = byte.value_or('?');
        start = end;
    }
}

QString RecordEntry::name() const
{
    const auto end = std::find(m_name.begin(), m_name.end(), '\0');
    return Cp1251::decode(QByteArrayView(m_name.begin(), end));
}

QByteArray RecordEntry::nameBytes() const
{
    return QByteArray(m_name.data(), NameLength);
}

QByteArray RecordEntry::toRecord() const
{
    QByteArray record = nameBytes();
    const auto bits = static_cast<quint16>(m_moves);
    record.append(static_cast<char>(bits & 0xFF));
    record.append(static_cast<char>(bits >> 8));
    return record;
}

RecordEntry RecordEntry::fromRecord(QByteArrayView record)
{
    RecordEntry entry;
    if (record.size() < RecordSize)
        return entry;
    std::copy_n(record.begin(), NameLength, entry.m_name.begin());
    const auto low = static_cast<quint8>(record[NameLength]);
    const auto high = static_cast<quint8>(record[NameLength + 1]);
    entry.m_moves = static_cast<qint16>(static_cast<quint16>(low | high << 8));
    return entry;
}
