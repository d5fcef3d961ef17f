// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Where Records.dat lives: beside the executable, so each copy of the game keeps its own table.
// An installed copy cannot count on writing to the system's program folder, so when the
// executable runs from the folder the build installs the game to (on Windows: a folder of its own
// in Program Files), the file lives in the player's application data folder instead (on Windows
// the local one, not the roaming one). The choice is made by location alone.
//
// Uses QCoreApplication's application name for the data folder, and creates that folder when it
// is missing.
QString recordsFilePath();

// The choice itself, for given folders: dataDir when exeDir is installBinDir, exeDir otherwise.
// Paths are compared as given, after cleaning; an empty installBinDir or dataDir means exeDir.
QString recordsFilePathFor(const QString &exeDir, const QString &installBinDir,
                           const QString &dataDir);
