#pragma once

#include "records/recordkeeper.h"

class QWidget;

// The question put to a new record holder. The field takes a name of any length: the record
// table keeps its first ten characters, and a field that cut it short could split a character.
class NameInputBox : public NamePrompt
{
public:
    explicit NameInputBox(QWidget *parent) : m_parent(parent) {}
    QString askName() override;

private:
    QWidget *m_parent;
};
