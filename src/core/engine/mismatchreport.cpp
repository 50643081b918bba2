#include "engine/mismatchreport.h"

#include "text/hextext.h"

namespace qm {

void beginreport(MismatchReport& report) {
    report.mismatchcount = 0;
    report.zeroreads = 0;
    report.configread = {-1, -1};
    report.mismatchreport.assign(kMismatchHeader);
}

void addmismatch(MismatchReport& report, AlgState& state, std::string_view location,
                 std::string_view readvalue, std::string_view expected) {
    ++report.mismatchcount;
    std::string& text = report.mismatchreport;
    text.append(location).append(",   ").append(readvalue).append(",   ");
    text.append(expected).append(",\r\n");
    // Equality, not "at least": a check that is itself the last instruction may add a 26th
    // line, and the run is not sent back again.
    if (report.mismatchcount == kMismatchLimit) {
        state.algpc = state.algcount;
        state.mismatchjump = true;
    }
}

std::string flashlocation(int32_t address) { return "FLASH Word " + hexwordh(address); }
std::string eepromlocation(int32_t address) { return "EEPROM Byte " + hexwordh(address); }
std::string conflocation(int32_t address) { return "CONF Word " + hexwordh(address); }

}  // namespace qm
