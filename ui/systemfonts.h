// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <thread>

// Reads the system's font configuration on a thread of its own, started before the application
// object is made, so that the reading overlaps the window system's start-up instead of following
// it; wait() returns once it is read, and the first font the game asks for then finds it read.
// Where the system keeps no such configuration (Windows), nothing is started.
class SystemFontsLoading
{
public:
    SystemFontsLoading();
    ~SystemFontsLoading() { wait(); }
    SystemFontsLoading(const SystemFontsLoading &) = delete;
    SystemFontsLoading &operator=(const SystemFontsLoading &) = delete;

    void wait()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::thread m_thread;
};
