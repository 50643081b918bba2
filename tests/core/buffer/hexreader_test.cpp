#include "buffer/hexreader.h"

#include <gtest/gtest.h>

#include "buffer/progbuffer.h"
#include "hextestsupport.h"

namespace qm {
namespace {

using hextest::rec;

struct Read {
    ProgBuffer buffer;
    int32_t loadedwords = 0;
    HexReadResult result;
};

Read read(const std::string& text, const ActiveModel& model = hextest::model()) {
    Read r;
    clearbuffer(r.buffer, model);
    r.result = readhextext(text, r.buffer, model, r.loadedwords);
    return r;
}

const std::string kHeader =
    "Input program file in Intel Hex Format contains errors.\r\nLine number ";

TEST(HexReaderLines, CrLfLfAndCrFilesReadAlikeWithTheSameLineNumbers) {
    // One blank line between records vanishes from the numbering in every style.
    const std::vector<std::string> lines = {rec("0400000005288C30"), "", rec("02400E00F43F"),
                                            ":BROKEN"};
    for (const std::string eol : {"\r\n", "\n", "\r"}) {
        std::string text;
        for (const auto& line : lines) text += line + eol;
        const Read r = read(text);
        SCOPED_TRACE(testing::PrintToString(eol));
        EXPECT_EQ(r.result.faultline, 3);
        EXPECT_EQ(r.buffer.flash[0], 0x2805);
        EXPECT_EQ(r.buffer.flash[1], 0x308C);
        EXPECT_EQ(r.buffer.conf[0], 0x3FF4);
    }
}

TEST(HexReaderLines, RunsOfLineEndsCountAsAQuarterRoundedUp) {
    // CR LF: one blank line disappears, two leave one counted line; LF: 4 ends are one, 5 two.
    EXPECT_EQ(read("X\r\n\r\nY").result.faultline, 1);
    EXPECT_EQ(read(rec("02000000FF3F") + "\r\n\r\nX").result.faultline, 2);
    EXPECT_EQ(read(rec("02000000FF3F") + "\r\n\r\n\r\nX").result.faultline, 3);
    EXPECT_EQ(read(rec("02000000FF3F") + "\n\n\n\nX").result.faultline, 2);
    EXPECT_EQ(read(rec("02000000FF3F") + "\n\n\n\n\nX").result.faultline, 3);
}

TEST(HexReaderLines, CommentAndSpaceLinesAreSkippedButCounted) {
    const Read r = read("; a comment\r\n     \r\n" + rec("020000000528") + "   \r\nX\r\n");
    EXPECT_EQ(r.buffer.flash[0], 0x2805);  // trailing spaces are cut before the checks
    EXPECT_EQ(r.result.faultline, 4);
    EXPECT_EQ(read("\t:00000001FF").result.fault, HexFault::NoColon);
    EXPECT_EQ(read("  :00000001FF").result.fault, HexFault::NoColon);
}

TEST(HexReaderFaults, EachFaultStopsAtItsLineWithItsText) {
    struct Case {
        std::string line;
        HexFault fault;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"00000001FF", HexFault::NoColon, ": The record does not begin with ':' simbol."},
        {":00000001F", HexFault::TooShort, ": The record is too short."},
        {":00000001FE", HexFault::Checksum, ": Invalid 'checksum' field in the record."},
        {":020000000528d0", HexFault::Checksum, ": Invalid 'checksum' field in the record."},
        {":020000000528D1 x", HexFault::Checksum, ": Invalid 'checksum' field in the record."},
        {rec("02000000gb28"), HexFault::DataValue, ": Invalid data byte in the record."},
        {rec("020000020000"), HexFault::RecordType, ": Invalid 'record type' field in the record."},
        {rec("0000000G"), HexFault::RecordType, ": Invalid 'record type' field in the record."},
        {rec("020001040000"), HexFault::BadType04, ": Invalid '04 type' record."},
        {rec("02000004000000"), HexFault::BadType04, ": Invalid '04 type' record."},
        {rec("0200000400G0"), HexFault::BadType04, ": Invalid '04 type' record."},
        {rec("0G0000000528"), HexFault::ByteCountField,
         ": Invalid 'number of bytes' field in the record."},
        {rec("0G00G1000528"), HexFault::ByteCountField,
         ": Invalid 'number of bytes' field in the record."},
        {rec("0200G0000528"), HexFault::AddressField, ": Invalid 'address' field in the record."},
        {rec("03000000052800"), HexFault::OddByteCount,
         ": Field 'number of bytes' in the record must contain an even value."},
        {rec("03000100052800"), HexFault::OddByteCount,
         ": Field 'number of bytes' in the record must contain an even value."},
        {rec("020001000528"), HexFault::OddAddress,
         ": Field 'address' in the record must contain an even value."},
        {rec("040000000528"), HexFault::DataLength,
         ": The record does not contain the specified number of bytes."},
        {rec("08000000000000000000FFFF"), HexFault::WordTooWide,
         ": Word address 0003h holds FFFFh, which a 14-bit word cannot hold (a file for another "
         "chip family?)."},
        {rec("02400E00GG3F"), HexFault::DataValue, ": Invalid data byte in the record."},
        {rec("024000000G00"), HexFault::DataValue, ": Invalid data byte in the record."},
        {rec("0242000012GG"), HexFault::DataValue, ": Invalid data byte in the record."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const Read r = read(";\r\n" + rec("02000000FF3F") + "\r\n" + c.line + "\r\n:00000001FF");
        EXPECT_FALSE(r.result.ok);
        EXPECT_EQ(r.result.fault, c.fault);
        EXPECT_EQ(r.result.faultline, 3);
        ASSERT_TRUE(r.result.message.has_value());
        EXPECT_EQ(r.result.message->text, kHeader + "3" + c.text);
        EXPECT_EQ(r.result.message->type, kMsgError);
        EXPECT_EQ(r.result.message->caption, "");
    }
}

TEST(HexReaderFaults, WordsBeforeABadWordOfTheSameRecordAreAlreadyPlaced) {
    const Read r = read(rec("0400000005280040"));
    EXPECT_EQ(r.result.fault, HexFault::WordTooWide);
    EXPECT_EQ(r.buffer.flash[0], 0x2805);
    EXPECT_EQ(r.loadedwords, 1);
}

TEST(HexReaderRecords, EndOfFileEndsReadingAndEmptyDataRecordsAreSkipped) {
    const Read eof = read(rec("020000000528") + "\n:00000001FF\n" + rec("020002000628") + "\nJUNK");
    EXPECT_TRUE(eof.result.ok);
    EXPECT_EQ(eof.buffer.flash[1], 0x3FFF);

    // Without data no other field of a data record is looked at.
    const Read empty = read(":02000000FE\n" + rec("GG000100") + "\n" + rec("020000000528"));
    EXPECT_TRUE(empty.result.ok);
    EXPECT_EQ(empty.buffer.flash[0], 0x2805);
    EXPECT_TRUE(read("").result.ok);
}

TEST(HexReaderRecords, ExtendedAddressMovesTheDataAndStartAddressIsIgnored) {
    const std::string body = rec("020000000528") + "\n" + rec("0400000500001234");
    const Read plain = read(body);
    const Read with04 = read(":020000040000FA\n" + body);
    EXPECT_TRUE(with04.result.ok);
    EXPECT_EQ(with04.buffer.flash, plain.buffer.flash);
    EXPECT_FALSE(with04.result.message.has_value());

    // Upper address 1 moves word address by 8000h; back at 0 the data land in FLASH again.
    const Read moved = read(":020000040001F9\n" + rec("02000200AA00") + "\n:020000040000FA\n" +
                            rec("02000200BB00"));
    EXPECT_EQ(moved.result.outofrange, (std::vector<int64_t>{0x8001}));
    EXPECT_EQ(moved.buffer.flash[1], 0xBB);

    // The highest upper address with a long record must neither overflow nor land in FLASH.
    const Read top = read(":02000004FFFFFC\n" + rec("FEFFFE00" + std::string(508, '0')));
    EXPECT_TRUE(top.result.ok);
    ASSERT_EQ(top.result.outofrange.size(), 127u);
    EXPECT_EQ(top.result.outofrange.back(), 0xFFFF * 0x8000LL + 0x7FFF + 126);
    EXPECT_EQ(top.loadedwords, 0);
}

TEST(HexReaderPlacement, ConfigEepromAndIdLocations) {
    const Read r = read(rec("04400E00FFFF1234") + "\n" + rec("04420000AB12CD00") + "\n" +
                            rec("0C40000001020304050607FF01020304") + "\n" + rec("02400C00FFFF"),
                        hextest::model(2048, 128, true));
    EXPECT_TRUE(r.result.ok);
    // ID locations, the two words after them and the device ID are no data outside the chip.
    EXPECT_FALSE(r.result.message.has_value());
    EXPECT_TRUE(r.result.idlocations);
    EXPECT_EQ(r.result.placedwords, 4);
    EXPECT_EQ(r.buffer.conf[0], 0x3FFF);
    EXPECT_EQ(r.buffer.conf[1], 0x3412 & 0x3FFF);
    EXPECT_EQ(r.buffer.eeprom[0], 0xAB);
    EXPECT_EQ(r.buffer.eeprom[1], 0xCD);
    EXPECT_EQ(r.loadedwords, 0);

    const Read far = read(rec("02000000FF3F") + "\n" + rec("0207D000FF3F"));
    EXPECT_EQ(far.loadedwords, 1001);
}

TEST(HexReaderOutOfRange, ShortListsUpToTwentyFourAndCutsLongerOnes) {
    const Read three = read(rec("0644000001000200GGGG") + "\n" + rec("0244000001FF"));
    EXPECT_TRUE(three.result.ok);
    ASSERT_TRUE(three.result.message.has_value());
    EXPECT_EQ(three.result.message->type, kMsgInfo);
    EXPECT_EQ(three.result.message->text,
              "Warning!\r\nInput program file in Intel Hex Format contains errors.\r\n"
              "There are data for 4 addresses out of range:\r\n2200, 2201, 2202, 2200.\r\n");

    // A model without EEPROM: 30 EEPROM words, plus one FLASH word that still loads.
    std::string text = rec("020000000528") + "\n";
    for (int i = 0; i < 30; i += 2)
        text += rec("04" + hexword(0x4200 + 2 * i) + "0011002200") + "\n";
    const Read thirty = read(text, hextest::model(2048, 0));
    EXPECT_TRUE(thirty.result.ok);
    EXPECT_EQ(thirty.buffer.flash[0], 0x2805);
    EXPECT_EQ(thirty.result.message->text,
              "Warning!\r\nInput program file in Intel Hex Format contains errors.\r\n"
              "There are data for 30 addresses out of range:\r\n"
              "2100, 2101, 2102, 2103, 2104, 2105, 2106, 2107, 2108, 2109, 210A, 210B, 210C, "
              "210D, 210E, 210F, ..., 2116, 2117, 2118, 2119, 211A, 211B, 211C, 211D.\r\n");

    std::vector<int64_t> list;
    for (int i = 0; i < 24; ++i) list.push_back(0x3000 + i);
    EXPECT_EQ(outofrangewarning(list).find("..."), std::string::npos);
    list.push_back(0x3100);
    EXPECT_NE(outofrangewarning(list).find("300F, ..., 3011, "), std::string::npos);
}

}  // namespace
}  // namespace qm
