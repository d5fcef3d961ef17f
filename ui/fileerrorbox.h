#pragma once

#include "records/recordkeeper.h"

class QWidget;

// Tells the player, in a message box, that the records file failed and why. The game goes on.
class FileErrorBox : public RecordFileErrorSink
{
public:
    explicit FileErrorBox(QWidget *parent) : m_parent(parent) {}
    void reportFileError(const RecordFileError &error) override;

    static QString message(const RecordFileError &error);

private:
    QWidget *m_parent;
};
