// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordslocationsystem.h"

#include <QFileInfo>
#include <QStandardPaths>

const Qt::CaseSensitivity FileNameCase = Qt::CaseInsensitive;

// The installer puts the game in a folder of its own in Program Files, which a player may not
// write to; a copy unzipped anywhere else is a portable one.
QString installFolder(const QString &exeDir)
{
    const QString programFiles = qEnvironmentVariable("ProgramFiles");
    const bool inProgramFiles =
        !programFiles.isEmpty() &&
        QFileInfo(exeDir).absolutePath().compare(canonicalOrClean(programFiles), FileNameCase) == 0;
    return inProgramFiles ? exeDir : QString();
}

// The local application data, not the roaming one: the table belongs to this computer.
QString playerDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}
