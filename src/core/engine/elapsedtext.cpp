#include "engine/elapsedtext.h"

namespace qm {

std::string elapsedtext(std::chrono::microseconds elapsed) {
    const int64_t us = elapsed.count() > 0 ? elapsed.count() : 0;
    const int64_t hundredths = (us % 1000000) / 10000;
    std::string text = std::to_string(us / 1000000);
    text += '.';
    text += char('0' + hundredths / 10);
    text += char('0' + hundredths % 10);
    return text;
}

}  // namespace qm
