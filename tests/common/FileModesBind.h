#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Root's power over file modes (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH) put
// down on this thread while it lives, so a read-only file or folder binds
// root as it binds the station's user.
class FileModesBind {
public:
    FileModesBind() {
        if (::geteuid() != 0)
            return;
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_lowered = ::syscall(SYS_capset, &m_header, lowered) == 0;
    }
    ~FileModesBind() {
        if (m_lowered)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    FileModesBind(const FileModesBind&) = delete;
    FileModesBind& operator=(const FileModesBind&) = delete;
    bool ok() const { return ::geteuid() != 0 || m_lowered; }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_lowered = false;
};
