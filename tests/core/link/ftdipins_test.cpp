#include "link/ftdipins.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(FtdiPins, ReadsMapsAndSaysWhatIsWrong) {
    struct Case {
        const char* text;
        const char* result;  // the map read, or a part of the error
        bool ok;
    };
    const Case cases[] = {
        {"rts=D2,dtr=D4,dsr=D5", "rts=D2,dtr=D4,dsr=D5", true},
        {"RTS=d4, dtr = 2:HIGH", "rts=D4,dtr=D2:high,dsr=D5", true},
        {"dsr=D3:high", "rts=D2,dtr=D4,dsr=D3:high", true},
        {"dsr=5:low", "rts=D2,dtr=D4,dsr=D5", true},
        {"rts=D3", "rts and dtr must be on D2 and D4", false},
        {"rts=D4", "rts and dtr must be on D2 and D4", false},
        {"dsr=D0", "dsr must be on an input pin", false},
        {"dsr=D4", "dsr must be on an input pin", false},
        {"cts=D3", "unknown line 'cts'", false},
        {"rts=D8", "'D8' for rts is not a pin", false},
        {"rts=D2:up", "use :high or :low", false},
        {"rts=D2,rts=D2", "given twice", false},
        {"rts", "'rts' is not LINE=PIN", false},
        {"", "is not LINE=PIN", false},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto map = parseftdipins(c.text, error);
        ASSERT_EQ(map.has_value(), c.ok) << c.text << ": " << error;
        if (c.ok) {
            EXPECT_EQ(map->text(), c.result) << c.text;
        } else {
            EXPECT_NE(error.find(c.result), std::string::npos) << c.text << ": " << error;
        }
    }
}

}  // namespace
}  // namespace qm
