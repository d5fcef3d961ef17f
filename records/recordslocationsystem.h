// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// What differs by system (recordslocationposix.cpp, recordslocationwindows.cpp), for
// recordslocation.cpp alone: the folder an installed copy runs from, given the executable's (empty
// when exeDir cannot be one); the player's own folder for an installed copy's table; how the
// system compares file names. canonicalOrClean() gives the canonical path where there is one, the
// cleaned path otherwise.
QString installFolder(const QString &exeDir);
QString canonicalOrClean(const QString &path);
QString playerDataFolder();
extern const Qt::CaseSensitivity FileNameCase;
