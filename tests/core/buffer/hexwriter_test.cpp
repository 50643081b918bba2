#include "buffer/hexwriter.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <random>

#include "buffer/hexreader.h"
#include "core/testhost.h"
#include "hextestsupport.h"

namespace qm {
namespace {

ProgBuffer erased(const ActiveModel& model) {
    ProgBuffer buffer;
    clearbuffer(buffer, model);
    return buffer;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        out.push_back(text.substr(start, end - start));
    }
    return out;
}

TEST(HexWriterRecords, TheGivenExampleRecords) {
    EXPECT_EQ(hexfiletext(erased(hextest::model()), false), ":02400E00FF3F72\r\n:00000001FF\r\n");
    EXPECT_EQ(lines(hexfiletext(erased(hextest::model()), true))[0], ":04400E00FF3FFF3F32");

    ProgBuffer one = erased(hextest::model());
    one.flash[0] = 0x2805;
    one.eeprom[0] = 0x12;
    one.conf = {0x1234, 0x0ABC};
    EXPECT_EQ(
        lines(hexfiletext(one, false)),
        (std::vector<std::string>{":020000000528D1", ":02400E003412" + hexchecksum("02400E003412"),
                                  ":024200001200AA", ":00000001FF"}));
    EXPECT_EQ(lines(hexfiletext(one, true))[1],
              ":04400E003412BC0A" + hexchecksum("04400E003412BC0A"));
}

TEST(HexWriterRecords, SixteenByteRecordsThenTheRestAndNoTrailingErasedWords) {
    ProgBuffer buffer = erased(hextest::model());
    for (int i = 0; i < 8; ++i) buffer.flash[static_cast<size_t>(i)] = 0x100 + i;
    buffer.flash[3] = 0x3FFF;
    std::vector<std::string> out = lines(hexfiletext(buffer, false));
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], ":10000000000101010201FF3F040105010601070192");

    buffer.flash[8] = 0x2000;
    out = lines(hexfiletext(buffer, false));
    EXPECT_EQ(out[1], ":020010000020CE");
    EXPECT_EQ(out[2].substr(0, 9), ":02400E00");
}

// Fills the buffer with in-range values, often erased, so runs and gaps both occur.
void fillrandom(ProgBuffer& buffer, unsigned seed) {
    std::mt19937 random(seed);
    auto pick = [&](int32_t erasedvalue, int32_t limit) {
        return random() % 3 == 0 ? erasedvalue : static_cast<int32_t>(random() % (limit + 1));
    };
    for (auto& w : buffer.flash) w = pick(0x3FFF, 0x3FFF);
    for (auto& b : buffer.eeprom) b = pick(0xFF, 0xFF);
    buffer.conf = {pick(0x3FFF, 0x3FFF), pick(0x3FFF, 0x3FFF)};
}

TEST(HexWriterRoundTrip, ReadingTheWrittenFileGivesTheSameBuffer) {
    const std::vector<ActiveModel> models = {hextest::model(2048, 128, true),
                                             hextest::model(1024, 128, false),
                                             hextest::model(4096, 0, true)};
    for (unsigned seed = 1; seed <= 3; ++seed) {
        for (const auto& model : models) {
            SCOPED_TRACE(testing::Message() << model.flashsize << "/" << seed);
            ProgBuffer source = erased(model);
            fillrandom(source, seed);
            source.flash.back() = 0x0001;  // the very last word must make it too
            ProgBuffer back = erased(model);
            int32_t loadedwords = 0;
            const HexReadResult r =
                readhextext(hexfiletext(source, model.config2used), back, model, loadedwords);
            ASSERT_TRUE(r.ok);
            EXPECT_FALSE(r.message.has_value());
            EXPECT_EQ(back.flash, source.flash);
            EXPECT_EQ(back.eeprom, source.eeprom);
            EXPECT_EQ(back.conf[0], source.conf[0]);
            EXPECT_EQ(back.conf[1], model.config2used ? source.conf[1] : 0x3FFF);
            EXPECT_EQ(loadedwords, model.flashsize);
        }
    }
}

TEST(HexWriterRoundTrip, FlashPastSixteenBitAddressesDoesNotWrapOntoLowWords) {
    const ActiveModel model = hextest::model(40000, 0, false);
    ProgBuffer source = erased(model);
    source.flash[1] = 0x1111;
    source.flash[0x9000] = 0x2222;
    const std::string text = hexfiletext(source, false);
    EXPECT_NE(text.find(":101FF000FF3F"), std::string::npos);  // still 8 words a record
    EXPECT_NE(text.find("\r\n:020000040001F9\r\n:10000000FF3F"), std::string::npos);
    EXPECT_NE(text.find("\r\n:0220000022229A\r\n:020000040000FA\r\n:02400E00"), std::string::npos);
    ProgBuffer back = erased(model);
    int32_t loadedwords = 0;
    ASSERT_TRUE(readhextext(text, back, model, loadedwords).ok);
    EXPECT_EQ(back.flash, source.flash);
}

TEST(HexWriterRoundTrip, ValuesOutsideTheirRangesKeepTheirLowSixteenBits) {
    const ActiveModel model = hextest::model(16, 4, true);
    ProgBuffer source = erased(model);
    source.conf = {-1, 0x7FFF};
    source.eeprom[0] = 0x1AB;
    const std::string text = hexfiletext(source, true);
    EXPECT_NE(text.find(":04400E00FFFFFF7F"), std::string::npos);
    EXPECT_NE(text.find(":02420000AB01"), std::string::npos);
    ProgBuffer back = erased(model);
    int32_t loadedwords = 0;
    ASSERT_TRUE(readhextext(text, back, model, loadedwords).ok);
    EXPECT_EQ(back.conf, (std::array<int32_t, 2>{0x3FFF, 0x3FFF}));
    EXPECT_EQ(back.eeprom[0], 0xAB);

    // A FLASH word past 14 bits is written as it is, and the reader refuses it.
    source.flash[0] = 0x4000;
    EXPECT_EQ(lines(hexfiletext(source, true))[0], ":020000000040BE");
    EXPECT_EQ(readhextext(hexfiletext(source, true), back, model, loadedwords).fault,
              HexFault::WordTooWide);
}

struct Save {
    test::TestHost host;
    ProgBuffer buffer = erased(hextest::model());
    HexSaveResult result;
    void run(const std::string& path) {
        result = savehexfile(host, buffer, hextest::model(), path);
    }
};

TEST(HexSave, WritesNewFilesAndAsksBeforeReplacingOne) {
    hextest::TempDir dir;
    Save s;
    s.buffer.flash[0] = 0x2805;
    s.run(dir.file("new.hex"));
    EXPECT_EQ(s.result.outcome, HexSaveOutcome::Saved);
    EXPECT_EQ(s.result.labelhex, dir.file("new.hex"));
    EXPECT_EQ(hextest::readbytes(dir.file("new.hex")), hexfiletext(s.buffer, false));
    EXPECT_EQ(s.host.events,
              (std::vector<std::string>{"disable", "enable", "status:HEX file saved."}));

    const std::string old(5000, 'x');
    hextest::writebytes(dir.file("old.hex"), old);
    Save no;
    no.host.answers = {kAnswerNo};
    no.run(dir.file("old.hex"));
    EXPECT_EQ(no.result.outcome, HexSaveOutcome::Declined);
    EXPECT_FALSE(no.result.labelhex.has_value());
    EXPECT_EQ(no.host.msgboxes[0].text,
              "Do you want to overwrite file " + dir.file("old.hex") + "?");
    EXPECT_EQ(no.host.msgboxes[0].type, kMsgYesNo);
    EXPECT_EQ(no.host.events, (std::vector<std::string>{"msgbox"}));
    EXPECT_EQ(hextest::readbytes(dir.file("old.hex")), old);

    Save yes;
    yes.host.answers = {kAnswerYes};
    yes.run(dir.file("old.hex"));
    EXPECT_EQ(yes.result.outcome, HexSaveOutcome::Saved);
    EXPECT_EQ(hextest::readbytes(dir.file("old.hex")), hexfiletext(yes.buffer, false));
    EXPECT_EQ(dir.entries(), 2u);  // no temporary file left behind
}

void expectfailure(const Save& s, const std::string& path) {
    EXPECT_EQ(s.result.outcome, HexSaveOutcome::Failed);
    EXPECT_FALSE(s.result.labelhex.has_value());
    ASSERT_FALSE(s.host.msgboxes.empty());
    EXPECT_EQ(s.host.msgboxes.back().type, kMsgError);
    EXPECT_NE(s.host.msgboxes.back().text.find(path + "\r\n"), std::string::npos);
    EXPECT_NE(s.host.events.end(),
              std::find(s.host.events.begin(), s.host.events.end(), "status:HEX file not saved!"));
}

TEST(HexSave, FailuresLeaveWhatWasThereAndNameTheFile) {
    hextest::TempDir dir;
    // A folder in the way cannot be replaced, not even by root.
    std::filesystem::create_directory(dir.file("taken.hex"));
    hextest::writebytes(dir.file("taken.hex/inside"), "keep");
    Save folder;
    folder.run(dir.file("taken.hex"));
    expectfailure(folder, dir.file("taken.hex"));
    EXPECT_EQ(folder.host.msgboxes.size(), 1u);  // no overwrite question first
    EXPECT_EQ(hextest::readbytes(dir.file("taken.hex/inside")), "keep");

    Save nofolder;
    nofolder.run(dir.file("absent/x.hex"));
    expectfailure(nofolder, dir.file("absent/x.hex"));
    EXPECT_EQ(dir.entries(), 1u);
}

TEST(HexSave, AReadOnlyFolderKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
    hextest::TempDir dir;
    hextest::writebytes(dir.file("old.hex"), "old contents");
    std::filesystem::permissions(
        dir.folder(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    Save readonly;
    readonly.host.answers = {kAnswerYes};
    readonly.run(dir.file("old.hex"));
    expectfailure(readonly, dir.file("old.hex"));
    EXPECT_EQ(hextest::readbytes(dir.file("old.hex")), "old contents");
}

}  // namespace
}  // namespace qm
