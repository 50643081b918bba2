#include "buffer/shortpath.h"

#include <gtest/gtest.h>

#include "buffer/lastpath.h"
#include "settings/memorysettingsstore.h"

namespace qm {
namespace {

TEST(ShortPath, SplitKeepsTheSeparatorWithTheFolder) {
    EXPECT_EQ(splitpath("/home/u/prog.hex").folder, "/home/u/");
    EXPECT_EQ(splitpath("/home/u/prog.hex").name, "prog.hex");
    EXPECT_EQ(splitpath("prog.hex").folder, "");
    EXPECT_EQ(splitpath("prog.hex").name, "prog.hex");
    EXPECT_EQ(splitpath("/home/u/").name, "");
#ifdef _WIN32
    EXPECT_EQ(splitpath("C:\\work/sub\\p.hex").folder, "C:\\work/sub\\");
#else
    EXPECT_EQ(splitpath("/a\\b.hex").folder, "/");
#endif
}

TEST(LastPath, TheChosenFolderIsKeptAndSavedAtOnce) {
    MemorySettingsStore store;
    std::string lastpath = "/old/";
    EXPECT_EQ(takelastpath(store, lastpath, "/home/u/prog.hex"), "prog.hex");
    EXPECT_EQ(lastpath, "/home/u/");
    EXPECT_EQ(store.readtext("Last Path"), "/home/u/");
    EXPECT_EQ(takelastpath(store, lastpath, "bare.hex"), "bare.hex");
    EXPECT_EQ(store.readtext("Last Path"), "");
}

}  // namespace
}  // namespace qm
