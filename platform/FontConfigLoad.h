#pragma once

#include <thread>

// Loads fontconfig's configuration and font list (the larger part of the
// first text measured in a program) on a thread of its own, from the start of
// main(), so it runs beside Qt's start-up and the database check on a second
// core instead of before the first window's paint. Qt's own first use of the
// font database then finds fontconfig ready; used earlier (a message box at
// start), fontconfig is safe to load from two threads at once, but each
// thread then loads it in full: Wait before the first window is made, so
// that on a busy machine the window waits for the load under way instead of
// doing it a second time. Joined when destroyed.
class FontConfigLoad {
public:
    FontConfigLoad();
    ~FontConfigLoad();
    void Wait();
    FontConfigLoad(const FontConfigLoad&) = delete;
    FontConfigLoad& operator=(const FontConfigLoad&) = delete;

private:
    std::thread m_thread;
};
