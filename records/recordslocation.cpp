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
    const QString binDir = canonicalOrClean(QStringLiteral(PIRK_INSTALL_DIR));
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString path = recordsFilePathFor(exeDir, binDir, dataDir);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}
