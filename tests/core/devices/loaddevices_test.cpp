#include "devices/loaddevices.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace qm {
namespace {

constexpr int kErase = 0, kProgram = 1, kVerify = 4;

const char* const kSample =
    "Comments are lines with a space\n"
    "erasealgdef 1: begin,erase,end\n"
    "programalgdef 1: old program\n"
    "MODEL: PIC 16X\n"
    "Flash: 1024\n"
    "eeprom: 128\n"
    "configerased: 3FFF,3FFF\n"
    "config2used: False\n"
    "voltageseq: VddVpp\n"
    "progtime: 5\n"
    "pagesize: 4\n"
    "erasealg: 1\n"
    "programalg: 1\n"
    "readalg: 3\n"
    "programalgdef 1: new program\n"
    "readalgdef 3: read later\n"
    "model:  second\n"
    "programalg: 1\n"
    "readalg: 3\n";

TEST(ParseDevices, ReadsEveryKindOfLine) {
    const LoadDevicesResult r = parsedevices(kSample);
    ASSERT_EQ(r.status, LoadDevicesStatus::Ok);
    EXPECT_TRUE(r.warnings.empty());
    ASSERT_EQ(r.table.modelcount(), 2);

    const devicemodel& m = r.table.models[1];
    EXPECT_EQ(m.name, "PIC 16X");
    EXPECT_EQ(m.flash, "1024");
    EXPECT_EQ(m.eeprom, "128");
    EXPECT_EQ(m.configerased, "3FFF,3FFF");
    EXPECT_EQ(m.config2used, "False");
    EXPECT_EQ(m.voltageseq, "VddVpp");
    EXPECT_EQ(m.progtime, "5");
    EXPECT_EQ(m.pagesize, "4");
    EXPECT_EQ(m.alg[kErase], "begin,erase,end");
    // Algorithm fields are copies taken when the key line is read.
    EXPECT_EQ(m.alg[kProgram], "old program");
    EXPECT_EQ(m.alg[2], "");
    EXPECT_EQ(m.alg[kVerify], "");

    const devicemodel& second = r.table.models[2];
    EXPECT_EQ(second.name, " second");
    EXPECT_EQ(second.alg[kProgram], "new program");
    EXPECT_EQ(second.alg[2], "read later");
    EXPECT_EQ(second.flash, "");
    EXPECT_EQ(r.table.algdefs[2][3], "read later");
}

TEST(ParseDevices, ValueStartsAfterTheFirstSpaceAndDefinitionsDropOneCharacter) {
    const LoadDevicesResult r = parsedevices(
        "model: a\n"
        "flash:1024 words\n"
        "eeprom: 64 \n"
        "erasealgdef 2:x,y\n"
        "verifyalgdef 3:\n"
        "programalgdef 4 no colon\n"
        "readalgdef  5:  two\n"
        " model: indented\n"
        "model:x\n");
    ASSERT_EQ(r.table.modelcount(), 2);
    EXPECT_EQ(r.table.models[1].flash, "words");
    EXPECT_EQ(r.table.models[1].eeprom, "64 ");
    EXPECT_EQ(r.table.algdefs[kErase][2], ",y");
    EXPECT_EQ(r.table.algdefs[kVerify][3], "");
    EXPECT_EQ(r.table.algdefs[kProgram][4], "");
    EXPECT_EQ(r.table.algdefs[2][5], " two");
    // The indented model line is not read; the one without a space is, with a warning.
    EXPECT_EQ(r.table.models[2].name, "x");
    ASSERT_EQ(r.warnings.size(), 3u);
    EXPECT_EQ(r.warnings[0].linenumber, 6);
    EXPECT_EQ(r.warnings[1].linenumber, 8);
    EXPECT_EQ(r.warnings[2].linenumber, 9);
    EXPECT_EQ(r.warnings[2].text, "model:x");
}

// A model line the format does not allow must never hand the lines after it to the model
// before it: a chip would be programmed with another chip's algorithm.
TEST(ParseDevices, KeyLinesAfterAModelLineWithoutItsSpaceNeverReachThePreviousModel) {
    const LoadDevicesResult r = parsedevices(
        "programalgdef 1: program a\n"
        "programalgdef 2: program b\n"
        "model: A\nflash: 1024\nprogramalg: 1\n"
        "MODEL:B\nflash: 2048\nprogramalg: 2\neeprom:64\n"
        "  model: C\nflash: 4096\nprogramalg:1\nprogramalgdef 3: still read\n"
        "model: D\nflash: 8192\n");
    ASSERT_EQ(r.table.modelcount(), 3);
    EXPECT_EQ(r.table.models[1].name, "A");
    EXPECT_EQ(r.table.models[1].flash, "1024");
    EXPECT_EQ(r.table.models[1].alg[kProgram], "program a");
    EXPECT_EQ(r.table.models[2].name, "B");
    EXPECT_EQ(r.table.models[2].flash, "2048");
    EXPECT_EQ(r.table.models[2].eeprom, "64");
    EXPECT_EQ(r.table.models[2].alg[kProgram], "program b");
    // C's lines are skipped, not given to B; definitions are not a model's and still count.
    EXPECT_EQ(r.table.algdefs[kProgram][3], "still read");
    EXPECT_EQ(r.table.models[3].name, "D");
    EXPECT_EQ(r.table.models[3].flash, "8192");

    const std::vector<std::string> text = formatdevicewarnings(r.warnings, "my.txt");
    EXPECT_EQ(text, (std::vector<std::string>{
                        "my.txt line 6: read as if a space followed the colon",
                        "my.txt line 9: read as if a space followed the colon",
                        "my.txt line 10: ignored, \"model:\" does not start the line; the key "
                        "lines after it are ignored up to the next model line",
                        "my.txt line 11: ignored, it follows the model line 10, which was not read",
                        "my.txt line 12: ignored, it follows the model line 10, which was not read",
                    }));
}

TEST(ParseDevices, KeyLinesBeforeTheFirstModelGoToSlotZero) {
    const LoadDevicesResult r =
        parsedevices("flash: 99\nerasealgdef 0: e\nerasealg: 0\nmodel: m\neeprom: 1\n");
    ASSERT_EQ(r.table.modelcount(), 1);
    EXPECT_EQ(r.table.models[0].flash, "99");
    EXPECT_EQ(r.table.models[1].flash, "");
    EXPECT_EQ(r.table.models[1].alg[kErase], "");
    EXPECT_EQ(r.table.models[1].eeprom, "1");
}

TEST(ParseDevices, FilesWithoutModelsAreReported) {
    EXPECT_EQ(parsedevices("").status, LoadDevicesStatus::NoModels);
    const LoadDevicesResult r = parsedevices("erasealgdef 1: a\r\nsome note here\r\n   \r\n");
    EXPECT_EQ(r.status, LoadDevicesStatus::NoModels);
    EXPECT_EQ(r.table.algdefs[kErase][1], "a");
    EXPECT_TRUE(r.error.empty());
}

TEST(ParseDevices, CrLfAndLfGiveTheSameTable) {
    std::string crlf;
    for (const char* p = kSample; *p; ++p) {
        if (*p == '\n') crlf += '\r';
        crlf += *p;
    }
    const LoadDevicesResult lf = parsedevices(kSample);
    EXPECT_TRUE(parsedevices(crlf).table == lf.table);
    // A last line without a line end still counts, and its CR is dropped.
    EXPECT_EQ(parsedevices("model: z\r").table.models[1].name, "z");
}

TEST(ParseDevices, LinesThatBreakTheFormatAreSkippedWithTheirLineNumber) {
    const LoadDevicesResult r = parsedevices(
        "erasealgdef 1: keep\r\n"
        "\r\n"
        "nospace\r\n"
        "erasealgdef 21: bad\r\n"
        "\n"
        "model: m\r\n"
        "erasealg: 1\r\n"
        "erasealg: -1\r\n"
        "programalg: 300\r\n"
        "verifyalgdef 20: last slot\r\n");
    ASSERT_EQ(r.status, LoadDevicesStatus::Ok);
    ASSERT_EQ(r.warnings.size(), 4u);
    EXPECT_EQ(r.warnings[0].linenumber, 3);
    EXPECT_EQ(r.warnings[0].text, "nospace");
    EXPECT_EQ(r.warnings[1].linenumber, 4);
    EXPECT_EQ(r.warnings[2].linenumber, 8);
    EXPECT_EQ(r.warnings[3].linenumber, 9);
    EXPECT_EQ(r.table.models[1].alg[kErase], "keep");
    EXPECT_EQ(r.table.algdefs[kVerify][20], "last slot");

    const std::vector<std::string> text = formatdevicewarnings(r.warnings);
    ASSERT_EQ(text.size(), 4u);
    EXPECT_EQ(text[0], "quellmarkdevices.txt line 3: ignored, no space in the line");
    EXPECT_EQ(text[1],
              "quellmarkdevices.txt line 4: ignored, definition number 21 is outside 0 to 20");
    EXPECT_EQ(text[2],
              "quellmarkdevices.txt line 8: ignored, definition number -1 is outside 0 to 20");
}

TEST(LoadDevices, ReadsAFileAndNamesAMissingOne) {
    const std::string folder = testing::TempDir() + "loaddevices_test_Folder";
    std::remove(devicefilepath(folder).c_str());
    std::remove(folder.c_str());

    const LoadDevicesResult missing = loaddevices(devicefilepath(folder));
    EXPECT_EQ(missing.status, LoadDevicesStatus::FileError);
    EXPECT_EQ(missing.error, "Cannot read device file \"" + folder +
                                 "/quellmarkdevices.txt\". The file does not exist.");

    const std::string path = testing::TempDir() + "loaddevices_test.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "model: A\r\nflash: 8\r\n";
    }
    const LoadDevicesResult r = loaddevices(path);
    std::remove(path.c_str());
    ASSERT_EQ(r.status, LoadDevicesStatus::Ok);
    EXPECT_EQ(r.table.models[1].flash, "8");

    EXPECT_EQ(loaddevices(testing::TempDir()).status, LoadDevicesStatus::FileError);
}

TEST(DeviceFilePath, KeepsCaseAndAddsOneSeparator) {
    EXPECT_EQ(devicefilepath("/Opt/QM"), "/Opt/QM/quellmarkdevices.txt");
    EXPECT_EQ(devicefilepath("/Opt/QM/"), "/Opt/QM/quellmarkdevices.txt");
    EXPECT_EQ(devicefilepath(""), "quellmarkdevices.txt");
}

}  // namespace
}  // namespace qm
