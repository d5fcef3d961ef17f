// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <optional>

// Windows-1251, the code page of the records file, done by hand so that every platform and every
// Qt build converts the same way. Bytes 0x00..0x7F are ASCII. Byte 0x98, unassigned in the code
// page, decodes to U+0098 and encodes back to 0x98, so reading and writing a record never changes
// its bytes.
namespace Cp1251 {

QChar toUnicode(char byte);
// The byte for ch, or nothing when the code page has no such character.
std::optional<char> fromUnicode(QChar ch);

QString decode(QByteArrayView bytes);

} // namespace Cp1251
