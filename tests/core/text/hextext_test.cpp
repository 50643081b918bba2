#include "text/hextext.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(HexFormat, KeepsTheLowDigitsOfTheTwosComplement) {
    EXPECT_EQ(hexbyte(0), "00");
    EXPECT_EQ(hexbyte(255), "FF");
    EXPECT_EQ(hexbyte(256), "00");
    EXPECT_EQ(hexbyte(-1), "FF");
    EXPECT_EQ(hexbyte(0xAB), "AB");
    EXPECT_EQ(hexword(0x3FFF), "3FFF");
    EXPECT_EQ(hexword(0x3FF), "03FF");
    EXPECT_EQ(hexword(0x12345), "2345");
    EXPECT_EQ(hexword(-2), "FFFE");
    EXPECT_EQ(hexaddr(0x10), "000010");
    EXPECT_EQ(hexaddr(0x1234567), "234567");
    EXPECT_EQ(hexaddr(-1), "FFFFFF");
}

TEST(HexFormat, SuffixedAndLittleEndianForms) {
    EXPECT_EQ(hexbyteh(0xFF), "FFh");
    EXPECT_EQ(hexwordh(0x3FFF), "3FFFh");
    EXPECT_EQ(hexwordh(5), "0005h");
    EXPECT_EQ(hexwordle(0x1234), "3412");
    EXPECT_EQ(hexwordle(0x3FFF), "FF3F");
    EXPECT_EQ(hexwordle(0x00A5), "A500");
}

TEST(HexFormat, WholeAddressesAreNeverCut) {
    EXPECT_EQ(hexwhole(0x10), "0010");
    EXPECT_EQ(hexwhole(0x8007), "8007");
    EXPECT_EQ(hexwhole(0x100000), "100000");
}

TEST(HexParse, AcceptsOnlyExactUpperCaseDigits) {
    EXPECT_EQ(parsebyte("3F"), 63);
    EXPECT_EQ(parsebyte("00"), 0);
    EXPECT_EQ(parsebyte("FF"), 255);
    EXPECT_EQ(parsebyte("3f"), -1);
    EXPECT_EQ(parsebyte("3"), -1);
    EXPECT_EQ(parsebyte("3F0"), -1);
    EXPECT_EQ(parsebyte(" 3"), -1);
    EXPECT_EQ(parsebyte("G0"), -1);
    EXPECT_EQ(parsebyte(""), -1);
    EXPECT_EQ(parseword("3FFF"), 16383);
    EXPECT_EQ(parseword("FFFF"), 65535);
    EXPECT_EQ(parseword("0000"), 0);
    EXPECT_EQ(parseword("3FF"), -1);
    EXPECT_EQ(parseword("3FFFh"), -1);
    EXPECT_EQ(parseword("3fff"), -1);
    EXPECT_EQ(parseword("-001"), -1);
}

TEST(HexParse, RoundTripsEveryByte) {
    for (int v = 0; v < 256; ++v) EXPECT_EQ(parsebyte(hexbyte(v)), v);
}

TEST(HexChecksum, IsTheTwosComplementOfTheByteSum) {
    EXPECT_EQ(hexchecksum("00000001"), "FF");
    EXPECT_EQ(hexchecksum("10000000"), "F0");
    EXPECT_EQ(hexchecksum(""), "00");
    EXPECT_EQ(hexchecksum("0000000"), "00");
    EXPECT_EQ(hexchecksum("020000040000"), "FA");
    // A pair that does not parse adds -1, the same as FFh.
    EXPECT_EQ(hexchecksum("zz"), hexchecksum("FF"));
    EXPECT_EQ(hexchecksum("10000000FF3FFF3F"), hexchecksum("10000000FF3Fzz3F"));
}

}  // namespace
}  // namespace qm
