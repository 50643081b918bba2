#include "devices/progtimeanswer.h"

#include "text/leadingnumber.h"

namespace qm {

ProgTimeAnswer parseprogtimeanswer(std::string_view answer) {
    if (answer.empty()) return {};
    const int32_t progtime = leadingnumber(answer);
    if (progtime < kMinProgTime || progtime > kMaxProgTime) return {ProgTimeAnswer::Kind::Wrong, 0};
    return {ProgTimeAnswer::Kind::Time, progtime};
}

}  // namespace qm
