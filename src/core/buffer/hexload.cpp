#include "buffer/hexload.h"

namespace qm {

std::string kilowords(int32_t words) {
    if (words <= 0) return "0";
    // 1/1024 is exactly 0.0009765625, so the fraction has at most ten decimals and can be
    // written exactly without floating point.
    const int64_t whole = words / 1024;
    std::string text = whole > 0 ? std::to_string(whole) : "";
    int64_t fraction = static_cast<int64_t>(words % 1024) * 9765625;
    if (fraction > 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 10 - digits.size(), '0');
        while (digits.back() == '0') digits.pop_back();
        text += "." + digits;
    }
    return text.substr(0, 4);
}

std::string loadedstatus(int32_t loadedwords) {
    return "Operation completed. Total " + std::to_string(loadedwords) + " (" +
           kilowords(loadedwords) + "K) program words loaded.";
}

HexLoadResult loadhexfile(Host& host, ProgBuffer& progbuffer, const ActiveModel& activemodel,
                          int32_t& loadedwords, const std::string& lastpath,
                          const std::string& filename) {
    host.disable();
    clearbuffer(progbuffer, activemodel);
    loadedwords = 0;

    const std::string path = lastpath + filename;
    HexLoadResult result;
    result.read = readhexfile(path, progbuffer, activemodel, loadedwords);
    if (result.read.message) {
        host.mymsgbox(result.read.message->text, result.read.message->type,
                      result.read.message->caption);
    }
    result.ok = result.read.ok;
    if (result.ok) {
        host.updatedisplay();
        result.labelhex = path;
        result.status = loadedstatus(loadedwords);
    } else {
        clearbuffer(progbuffer, activemodel);
        loadedwords = 0;
        host.updatedisplay();
        result.status = kStatusNotLoaded;
    }
    host.setstatus(result.status);
    host.enable();
    return result;
}

}  // namespace qm
