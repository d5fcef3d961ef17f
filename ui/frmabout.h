// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/designdialog.h"

// The about window: the game's face, title, version and credits, and "Ок!" to close it.
class FrmAbout : public DesignDialog
{
    Q_OBJECT

public:
    explicit FrmAbout(QWidget *parent = nullptr);
};
