// The configuration words by their named fields on the command line: config lists them, show and
// read print a word decoded, program warns of what a word does before it programs it, and a
// protected chip is named as such instead of only failing its Verify.
#include <gtest/gtest.h>

#include "cli/clirunner.h"

namespace qm::cli::test {
namespace {

// One program word and a configuration word: none, 0F30h (the internal oscillator, code
// protection on), and for the 16F818 one whose WRT bits are 00, which no setting has.
const std::string kNoConfig = ":020000000528D1\r\n:00000001FF\r\n";
const std::string kProtected = ":020000000528D1\r\n:02400E00300F71\r\n:00000001FF\r\n";
const std::string kWrt00 = ":020000000528D1\r\n:02400E00303947\r\n:00000001FF\r\n";

TEST(CliConfigWords, ConfigListsEveryFieldWithItsSettings) {
    CliRunner cli;
    CliRun run = cli.run({"--model", "16F628A", "config"});
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out,
                         "Configuration word 2007h of the 16F628A, erased 21FFh:\n"
                         "FOSC  oscillator, bits 0013h, erased: EXTRCCLK\n"
                         "    0000h  LP         low-power crystal on RA6 and RA7\n"))
        << run.out;
    EXPECT_TRUE(
        contains(run.out, "    0010h  INTOSCIO   internal oscillator, RA6 and RA7 are I/O\n"))
        << run.out;
    EXPECT_TRUE(contains(run.out, "CP  program memory code protection, bits 2000h, erased: OFF\n"))
        << run.out;
    // Both words where the model has two.
    run = cli.run({"--model", "16F88", "config"});
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Configuration word 2008h of the 16F88, erased 0003h:\n"))
        << run.out;

    // A device file without field sets has nothing to list.
    cli.write("plain.txt", "model: M\nflash: 64\neeprom: 0\nconfigerased: 3FFF,3FFF\n");
    run = cli.run({"--devices", cli.path("plain.txt"), "--model", "M", "config"});
    EXPECT_EQ(run.exitcode, 5);
    EXPECT_TRUE(contains(run.err, "names no fields of the configuration words of the M."))
        << run.err;
}

TEST(CliConfigWords, ShowPrintsEachFieldOfTheWordAndSaysWhenNoSettingMatches) {
    CliRunner cli;
    CliRun run = cli.run({"--model", "16F628A", "show", sourcefile("data/examples/blink628a.hex")});
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out,
                         "Config. Word (2007h): 3F30\n"
                         "  FOSC  = INTOSCIO   internal oscillator, RA6 and RA7 are I/O\n"
                         "  WDTE  = OFF        watchdog timer off\n"))
        << run.out;
    cli.write("wrt.hex", kWrt00);
    run = cli.run({"--model", "16F818", "show", cli.path("wrt.hex")});
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "  WRT   = 0000h      no setting has these bits\n")) << run.out;
}

TEST(CliConfigWords, ProgramWarnsFirstAndAProtectedChipIsNamedAsSuch) {
    CliRunner cli;
    cli.write("noconfig.hex", kNoConfig);
    cli.write("protected.hex", kProtected);
    const auto sim = [&](const std::vector<std::string>& command) {
        return cli.run(chipargs("16F628A", "sim:" + cli.path("chip.hex"), command));
    };

    // Without a configuration word the chip gets the erased one: said, with what it means; the
    // run goes on.
    CliRun run = sim({"program", cli.path("noconfig.hex")});
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.err,
                         "Warning: The configuration word 2007h is 21FFh, the erased value, as a "
                         "HEX file without a configuration word leaves it. On the 16F628A that "
                         "means:\n    FOSC = EXTRCCLK (external RC on RA7, clock out on RA6)\n"))
        << run.err;
    EXPECT_TRUE(contains(run.err,
                         "Warning: LVP = ON (low-voltage programming on, the PGM pin "
                         "serves it): the PGM pin must be held low in the circuit"))
        << run.err;
    EXPECT_TRUE(contains(run.err, "Warning: WDTE = ON (watchdog timer on): the program must clear"))
        << run.err;
    EXPECT_TRUE(contains(run.out, "Chip verified. ")) << run.out;

    // Code protection: warned of, and the Verify that could only fail is left out.
    run = sim({"program", cli.path("protected.hex")});
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.err,
                         "Warning: CP = ON (program memory code-protected): the program "
                         "memory cannot be read back or verified"))
        << run.err;
    EXPECT_FALSE(contains(run.err, "erased value")) << run.err;
    EXPECT_TRUE(contains(run.out,
                         "Verify skipped: the configuration word keeps the chip's memory from "
                         "being read back: CP = ON (program memory code-protected).\n"))
        << run.out;
    EXPECT_FALSE(contains(run.out, "Begin verify.")) << run.out;

    // A Verify of the protected chip says why everything read 0; Read All names the word.
    run = sim({"verify", cli.path("protected.hex")});
    EXPECT_EQ(run.exitcode, 1);
    EXPECT_TRUE(contains(run.err,
                         "Every location that differs read 0, as the memory of a "
                         "code-protected chip reads"))
        << run.err;
    run = sim({"read", cli.path("back.hex")});
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.err,
                         "The chip's configuration word 2007h reads 0130h: CP = ON "
                         "(program memory code-protected)."))
        << run.err;
    EXPECT_TRUE(contains(run.out, "  CP    = ON         program memory code-protected\n"))
        << run.out;
}

}  // namespace
}  // namespace qm::cli::test
