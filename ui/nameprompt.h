#pragma once

#include "records/recordkeeper.h"

class QWidget;

// The question put to a new record holder. The field does not stop at ten: the record table
// keeps the first ten characters as a player sees them, where a field counting code units could
// split one.
class NameInputBox : public NamePrompt
{
public:
    explicit NameInputBox(QWidget *parent) : m_parent(parent) {}
    QString askName() override;

private:
    QWidget *m_parent;
};
