// HEX files as real tools and programmers write them, as the command line reports them, and the
// files that program and verify refuse before they touch the chip.
#include <gtest/gtest.h>

#include "cli/clirunner.h"

namespace qm::cli::test {
namespace {

const std::string kBlink = sourcefile("data/examples/blink628a.hex");
const std::string kEof = ":00000001FF\r\n";
const std::string kNoData =
    "Operation completed. Total 0 (0K) program words loaded. The file holds "
    "no data for the chip. No end-of-file record: the file may be cut "
    "off.\n";

TEST(CliHexFile, TheLoadReportAndTheMessagesSayWhatTheFileHeld) {
    const struct {
        const char* what;
        std::string file;
        int exitcode;
        std::string out;  // the load report, the whole line
        std::string err;  // a part of standard error; empty: nothing there
    } cases[] = {
        {"empty", "", 0, kNoData, ""},
        {"cut off before data", ":020000040000FA\r\n", 0, kNoData, ""},
        {"cut off after data", ":020000000528D1\r\n", 0,
         "Operation completed. Total 1 (.000K) program words loaded. No end-of-file record: the "
         "file may be cut off.\n",
         ""},
        {"lower case, byte-order mark, trailing blanks",
         "\xEF\xBB\xBF:0207fe000528cc \t\r\n:02400e00f43f7d\t\r\n:00000001ff\r\n", 0,
         "Operation completed. Total 1024 (1K) program words loaded.\n", ""},
        {"ID locations and the words a dump has after them",
         ":020000000528D1\r\n:0C4000000100020003000400050006009F\r\n" + kEof, 0,
         "Operation completed. Total 1 (.000K) program words loaded. The ID locations "
         "(2000h-2003h) are not kept.\n",
         ""},
        {"wide word", ":0400000000EF04F019\r\n" + kEof, 4, "HEX file not loaded!\n",
         "Line number 1: Word address 0000h holds EF00h, which a 14-bit word cannot hold (a file "
         "for another chip family?).\n"},
        {"addresses above FFFFh", ":020000040020DA\r\n:04000000FFFFFFFF00\r\n" + kEof, 0,
         "Operation completed. Total 0 (0K) program words loaded. The file holds no data for the "
         "chip.\n",
         "There are data for 2 addresses out of range:\n100000, 100001.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CliRunner cli;
        cli.write("a.hex", c.file);
        const CliRun run = cli.run({"--model", "16F628A", "show", cli.path("a.hex")});
        EXPECT_EQ(run.exitcode, c.exitcode) << run.err;
        EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1), c.out);
        if (c.err.empty()) {
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_TRUE(contains(run.err, c.err)) << run.err;
        }
    }
}

TEST(CliHexFile, ProgramAndVerifyRefuseAFileWithoutDataOrWithDataOutsideTheChip) {
    CliRunner cli;
    const std::string port = "sim:" + cli.path("chip.hex");
    cli.write("one.hex", ":020000000528D1\r\n" + kEof);
    ASSERT_EQ(cli.run({"--model", "16F887", "--port", port, "--virtual-time", "program",
                       cli.path("one.hex")})
                  .exitcode,
              0);
    const std::string image = cli.read("chip.hex");

    cli.write("empty.hex", "");
    // A file for a chip whose configuration words lie at 8007h/8008h.
    cli.write(
        "far.hex",
        ":020000000528D1\r\n:020000040001F9\r\n:04000E00E4FFFF3FCD\r\n:020000040000FA\r\n" + kEof);
    const struct {
        std::string file;
        std::string err;
    } refused[] = {
        {"empty.hex", " holds no data for the 16F887. The chip was not touched.\n"},
        {"far.hex",
         " has data outside the 16F887 (listed above): it may be made for another chip. The chip "
         "was not touched; --ignore-range uses the data that fit.\n"},
    };
    for (const auto& r : refused) {
        for (const char* command : {"program", "verify"}) {
            SCOPED_TRACE(r.file + " " + command);
            const CliRun run = cli.run(
                {"--model", "16F887", "--port", port, "--virtual-time", command, cli.path(r.file)});
            EXPECT_EQ(run.exitcode, 4);
            EXPECT_TRUE(contains(run.err, cli.path(r.file) + r.err)) << run.err;
            EXPECT_FALSE(contains(run.out, "ready")) << run.out;  // no port was opened
            EXPECT_EQ(cli.read("chip.hex"), image);
        }
    }

    CliRun run = cli.run({"--model", "16F887", "--port", port, "--virtual-time", "program",
                          cli.path("far.hex"), "--ignore-range"});
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "There are data for 2 addresses out of range:\n8007, 8008.\n"))
        << run.err;
    EXPECT_TRUE(contains(run.out, "Chip verified. ")) << run.out;

    run = cli.run({"--model", "16F887", "show", cli.path("far.hex"), "--ignore-range"});
    EXPECT_EQ(run.exitcode, 2);
    EXPECT_TRUE(contains(run.err,
                         "option --ignore-range belongs to the commands program and "
                         "verify"))
        << run.err;
}

}  // namespace
}  // namespace qm::cli::test
