// Files the program writes: saved over only as far as the user could overwrite them by hand,
// never through or over anything that is not an ordinary file.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "cli/clirunner.h"

namespace qm::cli::test {
namespace {

namespace fs = std::filesystem;

const std::string kBlink = sourcefile("data/examples/blink628a.hex");

TEST(CliSafeSave, SavesKeepProtectionLinksAndPermissions) {
    CliRunner cli;
    ASSERT_EQ(cli.run({"--model", "16F628A", "convert", kBlink, cli.path("fresh.hex")}).exitcode,
              0);
    const std::string converted = cli.read("fresh.hex");
    const std::string old = ":00000001FF\r\n";

    // Write-protected: refused with a message that says so, as an ordinary user.
    cli.write("protected.hex", old);
    fs::permissions(cli.path("protected.hex"), fs::perms::owner_read | fs::perms::group_read);
    CliRun run =
        cli.runasuser({"--model", "16F628A", "convert", kBlink, cli.path("protected.hex")});
    EXPECT_EQ(run.exitcode, 4);
    EXPECT_TRUE(contains(run.err, "may not be written")) << run.err;
    EXPECT_TRUE(contains(run.out, "HEX file not saved!")) << run.out;
    EXPECT_EQ(cli.read("protected.hex"), old);

    // A symbolic link: the target gets the new contents, the link stays a link.
    cli.write("target.hex", old);
    fs::create_symlink("target.hex", cli.path("link.hex"));
    // Hard links: both names see the new contents.
    cli.write("first.hex", old);
    fs::create_hard_link(cli.path("first.hex"), cli.path("second.hex"));
    // Permissions of the old file stay.
    cli.write("private.hex", old);
    fs::permissions(cli.path("private.hex"), fs::perms::owner_read | fs::perms::owner_write);

    for (const char* name : {"link.hex", "first.hex", "private.hex"}) {
        run = cli.run({"--model", "16F628A", "convert", kBlink, cli.path(name)});
        EXPECT_EQ(run.exitcode, 0) << name << run.err;
    }
    EXPECT_TRUE(fs::is_symlink(cli.path("link.hex")));
    EXPECT_EQ(cli.read("target.hex"), converted);
    EXPECT_EQ(cli.read("second.hex"), converted);
    EXPECT_TRUE(fs::equivalent(cli.path("first.hex"), cli.path("second.hex")));
    EXPECT_EQ(fs::status(cli.path("private.hex")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(cli.read("private.hex"), converted);
    // No temporary file is left anywhere.
    for (const auto& entry : fs::directory_iterator(cli.dir()))
        EXPECT_FALSE(entry.path().extension() == ".tmp") << entry.path();

    // Saved by root, another user's file stays that user's.
    if (geteuid() == 0) {
        const passwd* nobody = getpwnam("nobody");
        ASSERT_NE(nobody, nullptr);
        cli.write("theirs.hex", old);
        ASSERT_EQ(chown(cli.path("theirs.hex").c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        run = cli.run({"--model", "16F628A", "convert", kBlink, cli.path("theirs.hex")});
        EXPECT_EQ(run.exitcode, 0) << run.err;
        struct stat saved {};
        ASSERT_EQ(stat(cli.path("theirs.hex").c_str(), &saved), 0);
        EXPECT_EQ(saved.st_uid, nobody->pw_uid);
        EXPECT_EQ(saved.st_gid, nobody->pw_gid);
        EXPECT_EQ(cli.read("theirs.hex"), converted);
    }
}

TEST(CliSettingsFile, ANonFileIsRefusedAndAFailedSaveIsReportedOnce) {
    CliRunner cli;
    ASSERT_EQ(mkfifo(cli.path("fifo.ini").c_str(), 0600), 0);
    // QSettings' lock file beside an ordinary settings file: a pipe there would hang the run.
    cli.write("locked.ini", "[General]\n");
    ASSERT_EQ(mkfifo(cli.path("locked.ini.lock").c_str(), 0600), 0);
    // A settings file is a few hundred bytes; this one would be read and rewritten whole.
    const std::string huge = "[General]\n" + std::string(1024 * 1024, ';');
    cli.write("huge.ini", huge);
    const std::string lock = cli.path("locked.ini.lock");
    for (const auto& [path, why] :
         {std::pair<std::string, std::string>{"/dev/null",
                                              "it is a character device, not an ordinary file"},
          {cli.path("fifo.ini"), "it is a pipe, not an ordinary file"},
          {cli.dir(), "it is a folder, not an ordinary file"},
          {cli.path("locked.ini"), "its lock file " + lock + " is a pipe, not an ordinary file"},
          {cli.path("huge.ini"),
           "it holds 1048586 bytes, more than the 1 MiB a settings file may hold"}}) {
        const CliRun run =
            cli.run({"--settings", path, "--port", "sim", "--virtual-time", "erase"});
        EXPECT_EQ(run.exitcode, 2) << path;
        EXPECT_EQ(run.err, "quellmark-cli: the settings file " + path + " cannot be used: " + why +
                               "; it was left alone.\n");
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);
    EXPECT_EQ(fs::status(cli.path("fifo.ini")).type(), fs::file_type::fifo);
    EXPECT_EQ(fs::status(lock).type(), fs::file_type::fifo);
    EXPECT_EQ(cli.read("huge.ini"), huge);

    // A folder that is a file: the defaults cannot be stored, the command still runs.
    cli.write("afile", "");
    const CliRun run = cli.run({"--settings", cli.path("afile/s.ini"), "show", kBlink});
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_EQ(run.err, "quellmark-cli: the settings could not be saved to " +
                           cli.path("afile/s.ini") + ": " + cli.path("afile") +
                           " is not a folder.\n");
}

// A simulated chip's image never loses data, directly on the simulated adapter or behind the
// simulated cable: a smaller chip refuses it, and a command that did not change the chip leaves
// the file as it was, byte for byte.
TEST(CliSafeSave, SimulatedChipImagesAreRefusedBySmallerChipsAndNotRewrittenUnchanged) {
    for (const std::string port : {"sim:", "ftdisim:"}) {
        CliRunner cli;
        cli.write("top.hex", ":020000000528D1\r\n:020FFE000628C3\r\n:00000001FF\r\n");
        const auto sim = [&](const char* model, const std::vector<std::string>& command) {
            return cli.run(chipargs(model, port + cli.path("chip.hex"), command));
        };
        ASSERT_EQ(sim("16F628A", {"program", cli.path("top.hex")}).exitcode, 0) << port;
        // The same chip written by another program, with a comment the program would not write.
        const std::string image = ";kept\r\n" + cli.read("chip.hex");
        cli.write("chip.hex", image);

        // The file's word past the 16F627A is left out; the image's cannot be.
        CliRun run = sim("16F627A", {"verify", cli.path("top.hex"), "--ignore-range"});
        EXPECT_EQ(run.exitcode, 3) << port;
        EXPECT_TRUE(contains(run.err, "FLASH words up to 07FFh (the chip has 1024)")) << run.err;
        EXPECT_TRUE(contains(run.err, "It seems to be made for the 16F628A.")) << run.err;
        EXPECT_EQ(cli.read("chip.hex"), image) << port;

        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"verify", cli.path("top.hex")},
              {"blank"},
              {"read", cli.path("back.hex")}}) {
            run = sim("16F628A", command);
            EXPECT_LE(run.exitcode, 1) << port << command[0] << run.err;
            EXPECT_EQ(cli.read("chip.hex"), image) << port << command[0];
        }
        ASSERT_EQ(sim("16F628A", {"erase"}).exitcode, 0) << port;
        EXPECT_NE(cli.read("chip.hex"), image) << port;
    }
}

// A missing image is an erased chip: a run that does not change it leaves no file behind, and
// an image whose folder does not exist is refused before anything runs.
TEST(CliSafeSave, AMissingImageIsAnErasedChipThatOnlyAChangeSaves) {
    CliRunner cli;
    const auto sim = [&](const std::string& image, const std::vector<std::string>& command) {
        return cli.run(chipargs("16F628A", "sim:" + image, command));
    };
    const std::string blink = sourcefile("data/examples/blink628a.hex");
    const struct {
        std::vector<std::string> command;
        int exitcode;
    } readers[] = {{{"blank"}, 0},
                   {{"identify"}, 0},
                   {{"read", cli.path("back.hex")}, 0},
                   {{"verify", blink}, 1}};
    for (const auto& r : readers) {
        const CliRun run = sim(cli.path("new.hex"), r.command);
        EXPECT_EQ(run.exitcode, r.exitcode) << r.command[0] << run.err;
        EXPECT_FALSE(cli.exists("new.hex")) << r.command[0];
    }
    EXPECT_EQ(sim(cli.path("new.hex"), {"program", blink}).exitcode, 0);
    EXPECT_TRUE(cli.exists("new.hex"));

    const CliRun run = sim("/no-such-folder/x.hex", {"blank"});
    EXPECT_EQ(run.exitcode, 3);
    EXPECT_TRUE(contains(run.err, "its folder /no-such-folder does not exist")) << run.err;
    EXPECT_FALSE(contains(run.out, "Chip is blank")) << run.out;
}

}  // namespace
}  // namespace qm::cli::test
