// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFile>
#include <QProcess>
#include <QString>

// While it lives, the file may be read but not written. Permission bits do not stop root; the
// immutable flag does, where the file system has it.
class WriteProtection
{
public:
    explicit WriteProtection(QString path) : m_path(std::move(path))
    {
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        if (writable())
            m_immutable = QProcess::execute(QStringLiteral("chattr"), {"+i", m_path}) == 0;
    }
    ~WriteProtection()
    {
        if (m_immutable)
            QProcess::execute(QStringLiteral("chattr"), {"-i", m_path});
    }
    WriteProtection(const WriteProtection &) = delete;
    WriteProtection &operator=(const WriteProtection &) = delete;

    bool isActive() const { return !writable(); }

private:
    bool writable() const
    {
        QFile probe(m_path);
        return probe.open(QIODevice::ReadWrite);
    }

    QString m_path;
    bool m_immutable = false;
};
