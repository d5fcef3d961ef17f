// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordslocation.h"
#include "records/recordslocationsystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString canonicalOrClean(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

QString recordsFilePathFor(const QString &exeDir, const QString &installBinDir,
                           const QString &dataDir)
{
    const bool installed =
        !installBinDir.isEmpty() && !dataDir.isEmpty() &&
        QDir::cleanPath(exeDir).compare(QDir::cleanPath(installBinDir), FileNameCase) == 0;
    return QDir(installed ? dataDir : exeDir).filePath(QStringLiteral("Records.dat"));
}

QString recordsFilePath()
{
    const QString exeDir = canonicalOrClean(QCoreApplication::applicationDirPath());
    const QString path = recordsFilePathFor(exeDir, installFolder(exeDir), playerDataFolder());
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}
