#include "engine/algstate.h"

namespace qm {

void loadalg(AlgState& state, const std::vector<std::string>& steps, ScriptLanguage language) {
    state.algprog = steps;
    state.algcount = static_cast<int32_t>(steps.size());
    state.language = language;
    state.decoded = decodeprogram(steps, language);
}

}  // namespace qm
