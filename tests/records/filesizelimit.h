// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#ifdef _WIN32
// Windows has no per-process limit on file sizes: there the tests that need one skip.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(unsigned long long) {}
    bool isActive() const { return false; }
};
#else

#include <csignal>
#include <sys/resource.h>

// While it lives, writes that would make any file of this process larger than the limit fail,
// as on a full disk. Keep the scope short: a test log written to a file is limited too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_active = getrlimit(RLIMIT_FSIZE, &m_saved) == 0;
        if (!m_active)
            return;
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_handler != SIG_ERR) {
            setrlimit(RLIMIT_FSIZE, &m_saved);
            std::signal(SIGXFSZ, m_handler);
        }
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isActive() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = SIG_ERR;
    bool m_active = false;
};

#endif
