// Any bytes as a HEX file: the reader must neither crash nor read outside the text, and whatever
// it loads must survive the writer and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "buffer/hexreader.h"
#include "buffer/hexwriter.h"
#include "buffer/progbuffer.h"
#include "devices/activemodel.h"
#include "fuzzhost.h"

namespace {

// Both layouts: a chip with CONF2 and one without.
qm::ActiveModel model(bool config2) {
    qm::ActiveModel m;
    m.flashsize = config2 ? 4096 : 2048;
    m.eepromsize = config2 ? 256 : 128;
    m.erasedconfig = {0x3FFF, 0x3FFF};
    m.config2used = config2;
    return m;
}

using qm::fuzz::check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const bool config2 : {false, true}) {
        const qm::ActiveModel m = model(config2);
        qm::ProgBuffer first;
        qm::clearbuffer(first, m);
        int32_t words = 0;
        const qm::HexReadResult read = qm::readhextext(text, first, m, words);
        // A fault always has its message; a read that worked has one only for data outside.
        check(read.ok ? read.message.has_value() == !read.outofrange.empty()
                      : read.message.has_value());
        check(words >= 0 && words <= m.flashsize);
        if (!read.ok) continue;

        const std::string written = qm::hexfiletext(first, config2);
        qm::ProgBuffer second;
        qm::clearbuffer(second, m);
        int32_t again = 0;
        const qm::HexReadResult reread = qm::readhextext(written, second, m, again);
        check(reread.ok && !reread.message.has_value());
        check(second.flash == first.flash && second.eeprom == first.eeprom);
        check(second.conf[0] == first.conf[0]);
        if (config2) check(second.conf[1] == first.conf[1]);
        check(qm::hexfiletext(second, config2) == written);
    }
    return 0;
}
