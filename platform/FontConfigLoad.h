#pragma once

#include <pthread.h>
#include <sched.h>

// Loads fontconfig's configuration and font list (the larger part of the
// first text measured in a program) on a thread of its own, from the start of
// main(), so it runs beside Qt's start-up and the database check on a second
// core instead of before the first window's paint. Qt's own first use of the
// font database then finds fontconfig ready; used earlier (a message box at
// start), fontconfig is safe to load from two threads at once, but each
// thread then loads it in full: Wait before the first window is made, so
// that on a busy machine the window waits for the load under way instead of
// doing it a second time. Without a thread (none could be made), Qt loads
// fontconfig itself when it first needs it. Joined when destroyed.
class FontConfigLoad {
public:
    FontConfigLoad();
    ~FontConfigLoad();
    void Wait();
    FontConfigLoad(const FontConfigLoad&) = delete;
    FontConfigLoad& operator=(const FontConfigLoad&) = delete;

    // Whether the load average file (/proc/loadavg) counts one task running
    // or ready to run: the caller alone, every other processor idle.
    static bool AloneRunning(const char* loadavg);

private:
    cpu_set_t m_allowed{}; // the process's processors, read by the thread
    pthread_t m_thread{};
    bool m_running = false;
};
