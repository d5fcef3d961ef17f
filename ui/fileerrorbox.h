// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "records/recordfileerror.h"

#include <QString>

class QWidget;

// Tells the player, in a message box shown modally over parent, that the records file failed and
// why. The game goes on.
void showFileError(QWidget *parent, const RecordFileError &error);

// The box's text.
QString fileErrorMessage(const RecordFileError &error);
