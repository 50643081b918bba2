// Factory calibration as the command line shows it, on a simulated 12F675: kept through program
// and erase, shown by read and show, a lost OSCCAL refused with exit code 7, and
// --overwrite-calibration.
#include <gtest/gtest.h>

#include "cli/clirunner.h"

namespace qm::cli::test {
namespace {

// Eight words at 0000h and an unprotected configuration word; 3FFh is left unset.
const std::string kProgram675 =
    ":100000000528FF3FFF3FFF3FFF3F073099000528CE\r\n"
    ":02400E00C43FAD\r\n"
    ":00000001FF\r\n";

TEST(CliCalibration, A12F675KeepsOsccalAndBandGapBitsThroughProgramAndErase) {
    CliRunner cli;
    cli.write("prog.hex", kProgram675);
    // A fresh simulated 12F675 holds 3480h at 3FFh and band-gap bits 10.
    const auto sim = [&](const std::vector<std::string>& command) {
        return cli.run(chipargs("PIC12F675", "sim:" + cli.path("chip.hex"), command));
    };
    CliRun run = sim({"program", cli.path("prog.hex")});
    ASSERT_EQ(run.exitcode, 0) << run.out << run.err;
    EXPECT_TRUE(contains(run.out,
                         "Begin program all.\n"
                         "Keeping the calibration: 03FFh = 3480h, 2007h bits 13:12 = 10.\n"
                         "Chip programmed. "))
        << run.out;
    EXPECT_TRUE(contains(run.out,
                         "Calibration read: 03FFh = 3480h, 2007h bits 13:12 = 10.\n"
                         "Chip verified. "))
        << run.out;

    run = sim({"read", cli.path("back.hex")});
    ASSERT_EQ(run.exitcode, 0) << run.err;
    run = cli.run({"--model", "12F675", "show", cli.path("back.hex")});
    EXPECT_TRUE(contains(run.out, "Config. Word (2007h): 21C4\n")) << run.out;
    EXPECT_TRUE(contains(run.out,
                         "Calibration (program and erase keep the chip's own values "
                         "here): 03FFh = 3480h, 2007h bits 13:12 = 10\n"))
        << run.out;

    run = sim({"erase"});
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_EQ(sim({"blank"}).exitcode, 0);

    // Without keeping, the erase takes them; the next program refuses the chip.
    EXPECT_EQ(sim({"erase", "--overwrite-calibration"}).exitcode, 0);
    const std::string lost = cli.read("chip.hex");
    run = sim({"program", cli.path("prog.hex")});
    EXPECT_EQ(run.exitcode, 7);
    EXPECT_TRUE(contains(run.out,
                         "Operation failed: the calibration word at 03FFh reads 3FFFh, "
                         "not 34XXh.\n"))
        << run.out;
    EXPECT_TRUE(contains(run.err, "Nothing was erased or written.")) << run.err;
    EXPECT_TRUE(contains(run.err, "--overwrite-calibration writes the HEX file's values"))
        << run.err;
    EXPECT_EQ(cli.read("chip.hex"), lost);
    EXPECT_EQ(sim({"program", cli.path("prog.hex"), "--overwrite-calibration"}).exitcode, 0);
}

}  // namespace
}  // namespace qm::cli::test
