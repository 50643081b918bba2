#include "themes/themetable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace qm {
namespace {

TEST(ThemeTable, HoldsFortySixUniqueNamesInComparisonOrder) {
    const std::vector<std::string> names = themenames();
    ASSERT_EQ(names.size(), 46u);
    EXPECT_EQ(names.front(), "Amethyst");
    EXPECT_EQ(names[6], "Blueberry");
    EXPECT_EQ(names[7], "Blueberry And Cream");
    EXPECT_EQ(names[33], "Powerpuff!");
    EXPECT_EQ(names[34], "Owayke");  // out of alphabetical order, as listed
    EXPECT_EQ(names[43], "Winamp Old");
    EXPECT_EQ(names[44], "Original Dark");
    EXPECT_EQ(names[45], "Original Lite");
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 46u);
}

TEST(ThemeTable, FindsNamesExactlyAndCaseSensitively) {
    ASSERT_NE(findtheme("HaXb0x"), nullptr);
    EXPECT_STREQ(findtheme("HaXb0x")->name, "HaXb0x");
    EXPECT_EQ(findtheme("haxb0x"), nullptr);
    EXPECT_EQ(findtheme("Mono Dark "), nullptr);
    EXPECT_EQ(findtheme("Blueberry And"), nullptr);
    EXPECT_EQ(findtheme(""), nullptr);
}

TEST(ThemeTable, RowsHoldTheirColoursInRoleOrder) {
    const ColourRoles amethyst{0x5E2770, 0xB446B7, 0x5A2086, 0xB446B7, 0x5A2086,
                               0xFFFFFF, 0x000000, 0x4E1F56, 0xC86FFF, 0x862E82,
                               0xFFFFFF, 0xF1F1F4, 0x400051, 0x370937, 0xF2EFF2};
    const ColourRoles winampold{0x494965, 0x2E2E40, 0xD3D8D8, 0x2E2E40, 0xD3D8D8,
                                0xE0E8E8, 0x000000, 0x000000, 0x00FF00, 0x0000C3,
                                0xFFFFFF, 0x49496A, 0xC2C2C2, 0x1C1C28, 0x01EF02};
    const ColourRoles originaldark{0x808080, 0x808080, 0x000000, 0xC0FFC0, 0x000000,
                                   0xC0C0C0, 0x000000, 0xFFFFFF, 0x000000, 0xC0C0C0,
                                   0x000000, 0x808080, 0x000000, 0xFFFFC0, 0x000000};
    const ColourRoles originallite{0xD7E6CA, 0xE9E9DA, 0x000000, 0xC0FFC0, 0x000000,
                                   0xE0E0E0, 0x000000, 0xFFFFFF, 0x000000, 0xFFE0C0,
                                   0x000000, 0xFFC0C0, 0x000000, 0xFFFFC0, 0x000000};
    EXPECT_EQ(themetable().front().roles, amethyst);
    EXPECT_EQ(findtheme("Winamp Old")->roles, winampold);
    EXPECT_EQ(findtheme("Original Dark")->roles, originaldark);
    EXPECT_EQ(findtheme("Original Lite")->roles, originallite);
}

// The named themes share two regularities that a slipped cell or shifted column would break.
TEST(ThemeTable, EveryRowHasTheTablesRegularities) {
    for (const Theme& theme : themetable()) {
        SCOPED_TRACE(theme.name);
        EXPECT_EQ(theme.roles.modelcapfore, 0u);  // the model caption text is black throughout
        for (uint32_t ColourRoles::*role : kColourRoleMembers) {
            EXPECT_LE(theme.roles.*role, 0xFFFFFFu);
        }
        const std::string name = theme.name;
        if (name == "Original Dark" || name == "Original Lite") continue;
        EXPECT_EQ(theme.roles.filecapback, theme.roles.confcapback);
        EXPECT_EQ(theme.roles.filecapfore, theme.roles.confcapfore);
    }
}

}  // namespace
}  // namespace qm
