#include "link/portnames.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(PortNames, LinuxMapsUartsThenUsbAdapters) {
    EXPECT_EQ(portdevicename(1, PortNaming::Linux), "/dev/ttyS0");
    EXPECT_EQ(portdevicename(8, PortNaming::Linux), "/dev/ttyS7");
    EXPECT_EQ(portdevicename(9, PortNaming::Linux), "/dev/ttyUSB0");
    EXPECT_EQ(portdevicename(16, PortNaming::Linux), "/dev/ttyUSB7");
}

TEST(PortNames, WindowsUsesComNames) {
    EXPECT_EQ(portdevicename(1, PortNaming::Windows), "COM1");
    EXPECT_EQ(portdevicename(10, PortNaming::Windows), "COM10");
    EXPECT_EQ(portdevicename(16, PortNaming::Windows), "COM16");
}

TEST(PortNames, NumbersOutsideTheRangeHaveNoDevice) {
    for (PortNaming naming : {PortNaming::Linux, PortNaming::Windows}) {
        EXPECT_EQ(portdevicename(0, naming), "");
        EXPECT_EQ(portdevicename(17, naming), "");
        EXPECT_EQ(portdevicename(-1, naming), "");
    }
}

TEST(PortNames, EveryNumberHasItsOwnDevice) {
    for (PortNaming naming : {PortNaming::Linux, PortNaming::Windows}) {
        for (int32_t a = kFirstPort; a <= kLastPort; ++a)
            for (int32_t b = a + 1; b <= kLastPort; ++b)
                EXPECT_NE(portdevicename(a, naming), portdevicename(b, naming)) << a << " " << b;
    }
#ifdef _WIN32
    EXPECT_EQ(portdevicename(4), "COM4");
#else
    EXPECT_EQ(portdevicename(4), "/dev/ttyS3");
#endif
}

}  // namespace
}  // namespace qm
