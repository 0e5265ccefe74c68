#include "platform/FontConfigLoad.h"

#include <fontconfig/fontconfig.h>

FontConfigLoad::FontConfigLoad() : m_thread([] { FcInit(); }) {}

FontConfigLoad::~FontConfigLoad() {
    Wait();
}

void FontConfigLoad::Wait() {
    if (m_thread.joinable())
        m_thread.join();
}
