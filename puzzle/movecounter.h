// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Where the game shows its move count: the main window's label, a string in the tests.
class MoveCounter
{
public:
    virtual ~MoveCounter() = default;
    // The count as plain decimal text.
    virtual void setCounterCaption(const QString &caption) = 0;
};
