#include "buffer/hexload.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/testhost.h"
#include "hextestsupport.h"

namespace qm {
namespace {

using hextest::rec;

TEST(HexLoadStatus, KilowordsAreCutNotRoundedAndHaveNoLeadingZero) {
    const std::vector<std::pair<int32_t, std::string>> cases = {
        {0, "0"},       {100, ".097"},  {512, ".5"},           {1024, "1"},
        {1536, "1.5"},  {3000, "2.92"}, {8192, "8"},           {1001, ".977"},
        {1023, ".999"}, {2047, "1.99"}, {10240 + 512, "10.5"}, {1024 * 12345, "1234"}};
    for (const auto& [words, text] : cases) EXPECT_EQ(kilowords(words), text) << words;
    EXPECT_EQ(loadedstatus(1001), "Operation completed. Total 1001 (.977K) program words loaded.");
    EXPECT_EQ(loadedstatus(0), "Operation completed. Total 0 (0K) program words loaded.");
}

struct Load {
    test::TestHost host;
    ProgBuffer buffer;
    int32_t loadedwords = 77;
    HexLoadResult result;
};

void load(Load& l, const std::string& folder, const std::string& name,
          const ActiveModel& model = hextest::model()) {
    l.buffer.flash.assign(3, 0);  // stale contents of another model must go
    l.result = loadhexfile(l.host, l.buffer, model, l.loadedwords, folder, name);
}

TEST(HexLoad, SuccessReportsTheWordsAndTheLabelAndShowsTheWarning) {
    hextest::TempDir dir;
    hextest::writebytes(dir.file("a.hex"),
                        rec("0207D000FF3F") + "\r\n" + rec("02440000FF3F") + "\r\n:00000001FF\r\n");
    Load l;
    load(l, dir.folder(), "a.hex");
    EXPECT_TRUE(l.result.ok);
    EXPECT_EQ(l.loadedwords, 1001);
    EXPECT_EQ(l.buffer.flash.size(), 2048u);
    EXPECT_EQ(l.result.labelhex, dir.folder() + "a.hex");
    const std::string status = "Operation completed. Total 1001 (.977K) program words loaded.";
    EXPECT_EQ(l.host.events, (std::vector<std::string>{"disable", "msgbox", "updatedisplay",
                                                       "status:" + status, "enable"}));
    ASSERT_EQ(l.host.msgboxes.size(), 1u);
    EXPECT_EQ(l.host.msgboxes[0].type, kMsgInfo);
    EXPECT_NE(l.host.msgboxes[0].text.find("2200."), std::string::npos);
}

TEST(HexLoad, AFaultClearsEverythingTheFileHadPlaced) {
    hextest::TempDir dir;
    hextest::writebytes(dir.file("bad.hex"), rec("020000000528") + "\n" + rec("02400E00F43F") +
                                                 "\n" + rec("020002000528").substr(0, 10) + "\n");
    Load l;
    load(l, dir.folder(), "bad.hex");
    EXPECT_FALSE(l.result.ok);
    EXPECT_EQ(l.result.labelhex, "");
    EXPECT_EQ(l.result.status, "HEX file not loaded!");
    EXPECT_EQ(l.loadedwords, 0);
    EXPECT_EQ(l.buffer.flash, std::vector<int32_t>(2048, 0x3FFF));
    EXPECT_EQ(l.buffer.conf[0], 0x3FFF);
    EXPECT_EQ(l.host.events, (std::vector<std::string>{"disable", "msgbox", "updatedisplay",
                                                       "status:HEX file not loaded!", "enable"}));
    EXPECT_EQ(l.host.msgboxes[0].type, kMsgError);
    EXPECT_EQ(l.host.msgboxes[0].text,
              "Input program file in Intel Hex Format contains errors.\r\n"
              "Line number 3: The record is too short.");
}

TEST(HexLoad, AFileThatCannotBeReadIsAFailedLoadNamingFileAndReason) {
    hextest::TempDir dir;
    std::filesystem::create_directory(dir.file("folder.hex"));
    for (const std::string name : {"missing.hex", "folder.hex"}) {
        Load l;
        load(l, dir.folder(), name);
        EXPECT_FALSE(l.result.ok);
        EXPECT_EQ(l.result.read.fault, HexFault::Unreadable);
        EXPECT_EQ(l.result.status, "HEX file not loaded!");
        EXPECT_EQ(l.buffer.flash.size(), 2048u);
        ASSERT_EQ(l.host.msgboxes.size(), 1u);
        EXPECT_EQ(l.host.msgboxes[0].type, kMsgError);
        EXPECT_NE(l.host.msgboxes[0].text.find(dir.folder() + name), std::string::npos);
        EXPECT_NE(l.host.msgboxes[0].text.find(name == "missing.hex" ? "does not exist" : "folder"),
                  std::string::npos);
    }
}

TEST(HexLoad, AnUnreadableNameGivesItsOwnReasonNotAMissingFile) {
    // A name that cannot even be looked up exists as far as the user can tell; calling it
    // missing would send them looking for the wrong problem.
    hextest::TempDir dir;
    std::filesystem::create_symlink(dir.file("loop.hex"), dir.file("loop.hex"));
    Load l;
    load(l, dir.folder(), "loop.hex");
    EXPECT_FALSE(l.result.ok);
    EXPECT_EQ(l.result.read.fault, HexFault::Unreadable);
    ASSERT_EQ(l.host.msgboxes.size(), 1u);
    const std::string& text = l.host.msgboxes[0].text;
    EXPECT_NE(text.find(dir.folder() + "loop.hex"), std::string::npos);
    EXPECT_EQ(text.find("does not exist"), std::string::npos) << text;
    EXPECT_NE(text.find(std::strerror(ELOOP)), std::string::npos) << text;
}

TEST(HexLoadFiles, TheAssembledExampleAndAnInhx32FileLoad) {
    Load example;
    load(example, std::string(QUELLMARK_SOURCE_DIR) + "/data/examples/", "blink628a.hex");
    ASSERT_TRUE(example.result.ok);
    EXPECT_FALSE(example.result.read.message.has_value());
    EXPECT_EQ(example.loadedwords, 28);
    EXPECT_EQ(example.result.status, "Operation completed. Total 28 (.027K) program words loaded.");
    EXPECT_EQ(example.buffer.flash[0], 0x2805);  // goto start
    EXPECT_EQ(example.buffer.flash[5], 0x3007);  // movlw 7
    EXPECT_EQ(example.buffer.conf[0], 0x3F30);
    EXPECT_EQ(example.buffer.eeprom[0], 'Q');
    EXPECT_EQ(example.buffer.eeprom[1], 'M');

    Load inhx32;
    load(inhx32, std::string(QUELLMARK_TEST_DATA) + "/hex/", "inhx32.hex");
    ASSERT_TRUE(inhx32.result.ok);
    EXPECT_EQ(inhx32.loadedwords, 4);
    EXPECT_EQ(inhx32.buffer.flash[2], 0x308C);
    EXPECT_EQ(inhx32.buffer.conf[0], 0x3FF4);
    EXPECT_EQ(inhx32.buffer.eeprom[1], 0x55);
}

}  // namespace
}  // namespace qm
