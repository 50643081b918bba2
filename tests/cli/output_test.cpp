// What the command line shows: texts with terminal line ends, the progress bar, the dump rows.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/dumprows.h"
#include "cli/progressbar.h"
#include "cli/terminaltext.h"

namespace qm::cli {
namespace {

TEST(CliTerminalText, TurnsEveryLineEndIntoNewline) {
    EXPECT_EQ(toterminal("Chip verify failed:\r\n\r\nMemory Location,\r\n"),
              "Chip verify failed:\n\nMemory Location,\n");
    EXPECT_EQ(toterminal("a\rb\nc"), "a\nb\nc");
    EXPECT_EQ(toterminal(""), "");
}

TEST(CliProgressBar, RecognisesOnlyTheProgressTexts) {
    for (const char* text : {"F:1/1024", "E:128/128", "CONF1:", "CONF2:"}) {
        EXPECT_TRUE(ProgressBar::isprogress(text)) << text;
    }
    for (const char* text : {"Begin verify.", "F:", "F:1", "F:x/2", "E:1/2 words",
                             "CONF3:", "Chip programmed. 0.12 seconds elapsed...", "G:1/2"}) {
        EXPECT_FALSE(ProgressBar::isprogress(text)) << text;
    }
}

TEST(CliProgressBar, RedrawsOnlyWhenAWholePercentOrThePhaseChanges) {
    std::ostringstream out;
    ProgressBar bar(out, true, 20);
    for (int i = 1; i <= 8192; ++i) bar.update("F:" + std::to_string(i) + "/8192");
    // 1..100 percent, one draw each (0 % is never reached after the first word).
    EXPECT_LE(bar.writes(), 101);
    EXPECT_GE(bar.writes(), 100);
    EXPECT_NE(out.str().find("FLASH"), std::string::npos);
    EXPECT_NE(out.str().find("8192/8192"), std::string::npos);

    const int before = bar.writes();
    bar.update("E:1/128");
    bar.update("CONF1:");
    bar.update("CONF1:");
    EXPECT_EQ(bar.writes(), before + 2);

    bar.clear();
    const std::string shown = out.str();
    // Clearing overwrites the line with blanks and returns to its start.
    EXPECT_EQ(shown.back(), '\r');
}

TEST(CliProgressBar, ADisabledBarWritesNothing) {
    std::ostringstream out;
    ProgressBar bar(out, false);
    bar.update("F:1/2");
    bar.clear();
    EXPECT_TRUE(out.str().empty());
}

TEST(CliDumpRows, RowsHaveTheViewFormat) {
    std::vector<int32_t> flash(1024, 0x3FFF);
    flash[9] = 0x0ABC;
    EXPECT_EQ(flashrow(flash, 0), "000000: 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF");
    EXPECT_EQ(flashrow(flash, 1), "000008: 3FFF 0ABC 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF");
    EXPECT_EQ(flashrow(flash, 1).size(), 47u);
    EXPECT_EQ(flashrowcount(flash), 2u);

    std::vector<int32_t> eeprom(128, 0xFF);
    eeprom[0x41] = 5;
    EXPECT_EQ(eepromrow(eeprom, 8), "0040: FF 05 FF FF FF FF FF FF");
    EXPECT_EQ(eepromrow(eeprom, 8).size(), 29u);
    EXPECT_EQ(eepromrowcount(eeprom), 9u);

    // An erased memory still shows its first row; an empty one none; a short last row stops at
    // the memory's end.
    EXPECT_EQ(flashrowcount(std::vector<int32_t>(64, 0x3FFF)), 1u);
    EXPECT_EQ(eepromrowcount({}), 0u);
    EXPECT_EQ(eepromrow(std::vector<int32_t>(10, 0x12), 1), "0008: 12 12");
}

TEST(CliDumpRows, ListingShowsTheSecondConfigurationWordOnlyWhenUsed) {
    ActiveModel model;
    model.modelname = "16F88";
    model.flashsize = 16;
    model.eepromsize = 8;
    model.erasedconfig = {0x3FFF, 0x3FFF};
    ProgBuffer buffer;
    clearbuffer(buffer, model);
    buffer.conf = {0x2F50, 0x3FFC};

    std::string listing = bufferlisting(buffer, model);
    EXPECT_NE(listing.find("Config. Word (2007h): 2F50\n"), std::string::npos);
    EXPECT_EQ(listing.find("2008h"), std::string::npos);

    model.config2used = true;
    listing = bufferlisting(buffer, model);
    EXPECT_NE(listing.find("Config. Word (2008h): 3FFC\n"), std::string::npos);
    EXPECT_NE(listing.find("FLASH: 16,  EEPROM: 8\n"), std::string::npos);
    EXPECT_NE(listing.find("EEPROM Memory\n0000: FF FF FF FF FF FF FF FF\n"), std::string::npos);
}

}  // namespace
}  // namespace qm::cli
