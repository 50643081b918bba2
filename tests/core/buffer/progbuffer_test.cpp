#include "buffer/progbuffer.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(ClearBuffer, SizesAndErasesForTheModel) {
    ActiveModel model;
    model.flashsize = 1024;
    model.eepromsize = 64;
    model.erasedconfig = {0x3FFF, -1};
    ProgBuffer buffer;
    buffer.flash.assign(8, 0);
    clearbuffer(buffer, model);
    ASSERT_EQ(buffer.flash.size(), 1024u);
    ASSERT_EQ(buffer.eeprom.size(), 64u);
    for (int32_t w : buffer.flash) ASSERT_EQ(w, 0x3FFF);
    for (int32_t b : buffer.eeprom) ASSERT_EQ(b, 0xFF);
    EXPECT_EQ(buffer.conf[0], 0x3FFF);
    EXPECT_EQ(buffer.conf[1], -1);
}

TEST(ClearBuffer, NoEepromAndNeverBelowOneFlashWord) {
    ActiveModel model;
    model.flashsize = 0;
    model.eepromsize = -5;
    ProgBuffer buffer;
    clearbuffer(buffer, model);
    EXPECT_EQ(buffer.flash.size(), 1u);
    EXPECT_TRUE(buffer.eeprom.empty());
}

}  // namespace
}  // namespace qm
