// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/designdialog.h"

// The rules window: the puzzle and its goal in a few words, and "Ок!" to close it.
class FrmHelp : public DesignDialog
{
    Q_OBJECT

public:
    explicit FrmHelp(QWidget *parent = nullptr);
};
