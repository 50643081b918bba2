#include "platform/ptymodemlines.h"

#include <dlfcn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <cstdarg>

namespace qm::test {

namespace {

struct Lines {
    PtyModemLines* owner = nullptr;
    dev_t device = 0;
    int bits = 0;
};

Lines& lines() {
    static Lines state;
    return state;
}

bool isemulated(int fd) {
    if (lines().owner == nullptr) return false;
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) && info.st_rdev == lines().device;
}

// TIOCM* calls on the emulated terminal; false for every other call.
bool modemcall(int fd, unsigned long request, void* argument) {
    if (request != TIOCMBIS && request != TIOCMBIC && request != TIOCMSET && request != TIOCMGET)
        return false;
    if (!isemulated(fd)) return false;
    int* value = static_cast<int*>(argument);
    Lines& state = lines();
    const int before = state.bits;
    switch (request) {
        case TIOCMGET:
            *value = state.bits;
            return true;
        case TIOCMBIS:
            state.bits |= *value & (TIOCM_DTR | TIOCM_RTS);
            break;
        case TIOCMBIC:
            state.bits &= ~(*value & (TIOCM_DTR | TIOCM_RTS));
            break;
        default:
            state.bits =
                (state.bits & ~(TIOCM_DTR | TIOCM_RTS)) | (*value & (TIOCM_DTR | TIOCM_RTS));
            break;
    }
    if (state.bits != before && state.owner->onchange)
        state.owner->onchange((state.bits & TIOCM_DTR) != 0, (state.bits & TIOCM_RTS) != 0);
    return true;
}

}  // namespace

PtyModemLines::PtyModemLines(const std::string& slavepath) {
    struct stat info {};
    if (stat(slavepath.c_str(), &info) != 0) return;
    lines() = Lines{this, info.st_rdev, TIOCM_DTR | TIOCM_RTS};
}

PtyModemLines::~PtyModemLines() {
    if (lines().owner == this) lines() = Lines{};
}

bool PtyModemLines::dtr() const { return (lines().bits & TIOCM_DTR) != 0; }
bool PtyModemLines::rts() const { return (lines().bits & TIOCM_RTS) != 0; }

void PtyModemLines::setdsr(bool on) {
    lines().bits = on ? lines().bits | TIOCM_DSR : lines().bits & ~TIOCM_DSR;
}

}  // namespace qm::test

// Stands in front of the C library's ioctl for the whole test program.
extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
    va_list list;
    va_start(list, request);
    void* argument = va_arg(list, void*);
    va_end(list);
    if (qm::test::modemcall(fd, request, argument)) return 0;
    using Ioctl = int (*)(int, unsigned long, ...);
    static const Ioctl next = reinterpret_cast<Ioctl>(dlsym(RTLD_NEXT, "ioctl"));
    return next(fd, request, argument);
}
