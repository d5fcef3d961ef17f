// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordslocationsystem.h"

#include <QStandardPaths>

const Qt::CaseSensitivity FileNameCase = Qt::CaseSensitive;

// The folder the build installs the game to, wherever the executable is.
QString installFolder(const QString &)
{
    return canonicalOrClean(QStringLiteral(PIRK_INSTALL_DIR));
}

QString playerDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}
