#include "platform/FontConfigLoad.h"

#include <fontconfig/fontconfig.h>

FontConfigLoad::FontConfigLoad() : m_thread([] { FcInit(); }) {}

FontConfigLoad::~FontConfigLoad() {
    m_thread.join();
}
