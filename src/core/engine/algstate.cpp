#include "engine/algstate.h"

namespace qm {

void loadalg(AlgState& state, const std::vector<std::string>& steps) {
    state.algprog = steps;
    state.algcount = static_cast<int32_t>(steps.size());
    state.decoded = decodeprogram(steps);
}

}  // namespace qm
