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

std::string loadnotes(const HexReadResult& read, std::string_view separator) {
    std::string notes;
    const auto add = [&notes, separator](std::string_view sentence) {
        if (!notes.empty()) notes += separator;
        notes += sentence;
    };
    if (read.placedwords == 0) add("The file holds no data for the chip.");
    // Cut short in a transfer or by a full disk, most likely.
    if (!read.endrecord) add("No end-of-file record: the file may be cut off.");
    if (read.idlocations) add("The ID locations (2000h-2003h) are not kept.");
    return notes;
}

std::string loadreport(int32_t loadedwords, const HexReadResult& read) {
    const std::string notes = loadnotes(read);
    return loadedstatus(loadedwords) + (notes.empty() ? "" : " " + notes);
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
        result.status = loadreport(loadedwords, result.read);
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
