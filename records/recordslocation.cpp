// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/recordslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString FileName = QStringLiteral("Records.dat");

QString canonicalOrClean(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

#ifdef Q_OS_WIN
// The installer puts the game in a folder of its own in Program Files, which a player may not
// write to; a copy unzipped anywhere else is a portable one. The table of an installed copy goes
// to the player's local application data, not the roaming one: it belongs to this computer.
QString installFolder(const QString &exeDir)
{
    const QString programFiles = qEnvironmentVariable("ProgramFiles");
    const bool inProgramFiles =
        !programFiles.isEmpty() && QFileInfo(exeDir).absolutePath().compare(
                                       canonicalOrClean(programFiles), Qt::CaseInsensitive) == 0;
    return inProgramFiles ? exeDir : QString();
}
constexpr auto DataLocation = QStandardPaths::AppLocalDataLocation;
#else
QString installFolder(const QString &)
{
    return canonicalOrClean(QStringLiteral(PIRK_INSTALL_DIR));
}
constexpr auto DataLocation = QStandardPaths::AppDataLocation;
#endif

} // namespace

QString recordsFilePathFor(const QString &exeDir, const QString &installBinDir,
                           const QString &dataDir)
{
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity Case = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity Case = Qt::CaseSensitive;
#endif
    const bool installed =
        !installBinDir.isEmpty() && !dataDir.isEmpty() &&
        QDir::cleanPath(exeDir).compare(QDir::cleanPath(installBinDir), Case) == 0;
    return QDir(installed ? dataDir : exeDir).filePath(FileName);
}

QString recordsFilePath()
{
    const QString exeDir = canonicalOrClean(QCoreApplication::applicationDirPath());
    const QString binDir = installFolder(exeDir);
    const QString dataDir = QStandardPaths::writableLocation(DataLocation);
    const QString path = recordsFilePathFor(exeDir, binDir, dataDir);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}
