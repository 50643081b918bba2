#include "themes/loadtheme.h"

#include <gtest/gtest.h>

#include "settings/memorysettingsstore.h"
#include "themes/themetable.h"

namespace qm {
namespace {

ThemeState loadwith(const char* stored) {
    MemorySettingsStore store;
    store.writetext("Color Theme", stored);
    ThemeState state;
    loadtheme(store, state);
    return state;
}

TEST(LoadTheme, WithNothingStoredUsesAndStoresOriginalLite) {
    MemorySettingsStore store;
    ThemeState state;
    loadtheme(store, state);
    EXPECT_EQ(state.themename, "Original Lite");
    EXPECT_EQ(store.readtext("Color Theme"), "Original Lite");
    EXPECT_EQ(state.roles.windowback, 0xD7E6CAu);
    EXPECT_EQ(state.roles.modelback, 0xFFC0C0u);
    EXPECT_EQ(state.roles.modelfore, 0x000000u);
    EXPECT_EQ(state.roles, findtheme("Original Lite")->roles);
}

TEST(LoadTheme, SetsTheRolesOfTheStoredTheme) {
    const ThemeState mono = loadwith("Mono Dark");
    EXPECT_EQ(mono.themename, "Mono Dark");
    EXPECT_EQ(mono.roles.windowback, 0x3A3A3Au);
    EXPECT_EQ(mono.roles.modelback, 0x737373u);
    EXPECT_EQ(mono.roles.modelfore, 0xDDDDDDu);

    const ThemeState dark = loadwith("Original Dark");
    EXPECT_EQ(dark.roles.windowback, 0x808080u);
    EXPECT_EQ(dark.roles.confcapback, 0xC0FFC0u);

    for (const Theme& theme : themetable()) {
        EXPECT_EQ(loadwith(theme.name).roles, theme.roles) << theme.name;
    }
}

TEST(LoadTheme, UnknownNamesGetOriginalLiteButKeepTheirName) {
    const ColourRoles& lite = findtheme("Original Lite")->roles;
    for (const char* name : {"mono dark", "MONO DARK", "Mono  Dark", "Solarized", " Amethyst"}) {
        const ThemeState state = loadwith(name);
        EXPECT_EQ(state.themename, name);
        EXPECT_EQ(state.roles, lite) << name;
    }
}

TEST(LoadTheme, AnEmptyNameLeavesTheRolesAlone) {
    const ThemeState fresh = loadwith("");
    EXPECT_EQ(fresh.themename, "");
    EXPECT_EQ(fresh.roles, ColourRoles{});  // still black, as before any load

    MemorySettingsStore store;
    store.writetext("Color Theme", "Bloods");
    ThemeState state;
    loadtheme(store, state);
    store.writetext("Color Theme", "");
    loadtheme(store, state);
    EXPECT_EQ(state.themename, "");
    EXPECT_EQ(state.roles, findtheme("Bloods")->roles);
    EXPECT_EQ(store.readtext("Color Theme"), "");  // an empty text is a value, not missing
}

TEST(LoadTheme, BlueberryAndBlueberryAndCreamDifferOnlyInTheFirstSixRoles) {
    const ColourRoles plain = loadwith("Blueberry").roles;
    const ColourRoles cream = loadwith("Blueberry And Cream").roles;
    for (int i = 0; i < kColourRoleCount; ++i) {
        const auto role = kColourRoleMembers[i];
        if (i < 6) {
            EXPECT_NE(plain.*role, cream.*role) << kColourRoleNames[i];
        } else {
            EXPECT_EQ(plain.*role, cream.*role) << kColourRoleNames[i];
        }
    }
}

}  // namespace
}  // namespace qm
