// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QWidget;

// The question put to a new record holder, shown modally over parent: the text typed, unchanged,
// or an empty text when it was cancelled or closed. The field does not stop at ten: the record
// table keeps the first ten characters as a player sees them, where a field counting code units
// could split one.
QString askName(QWidget *parent);
