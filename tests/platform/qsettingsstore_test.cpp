#include "platform/qsettingsstore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <filesystem>
#include <limits>
#include <string>

#include "settings/settings.h"

namespace qm {
namespace {

class QSettingsStoreTest : public testing::Test {
  protected:
    std::string path() const { return dir_.filePath("Quellmark.ini").toStdString(); }

    // Writes the INI file as a user would by hand.
    void handwrite(const char* content) {
        QFile file(dir_.filePath("Quellmark.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    // What another program reading the file sees.
    QVariant ondisk(const char* name) const {
        QSettings settings(dir_.filePath("Quellmark.ini"), QSettings::IniFormat);
        return settings.value(QString::fromUtf8(name));
    }

    QTemporaryDir dir_;
};

TEST_F(QSettingsStoreTest, FirstReadsWriteTheDefaultsToDisk) {
    ASSERT_TRUE(dir_.isValid());
    QSettingsStore store(path());
    EXPECT_EQ(store.location(), path());
    EXPECT_EQ(getsetting(store, kSettingLastPath, "/opt/q/"), "/opt/q/");
    EXPECT_EQ(getsetting(store, kSettingModel, kDefaultModel), "1");
    EXPECT_EQ(getsettingnum(store, kSettingPortNumber, kDefaultPortNumber), 2);
    EXPECT_EQ(getsetting(store, kSettingBaudRate, kDefaultBaudRate), "56000");
    EXPECT_EQ(getsetting(store, kSettingColorTheme, kDefaultColorTheme), "Original Lite");
    EXPECT_EQ(getsettingnum(store, kSettingMouseWheel, kDefaultMouseWheel), 1);

    // On disk while the store is still alive: nothing waits for a destructor.
    EXPECT_EQ(ondisk("Last Path").toString(), "/opt/q/");
    EXPECT_EQ(ondisk("Microcontroller Model").toString(), "1");
    EXPECT_EQ(ondisk("Serial Port Number").toString(), "2");
    EXPECT_EQ(ondisk("Serial Port Baud Rate").toString(), "56000");
    EXPECT_EQ(ondisk("Color Theme").toString(), "Original Lite");
    EXPECT_EQ(ondisk("Mouse Wheel Enabled").toString(), "1");

    // A second run finds them and ignores its defaults.
    QSettingsStore again(path());
    EXPECT_EQ(getsetting(again, kSettingColorTheme, "Mono Dark"), "Original Lite");
    EXPECT_EQ(getsettingnum(again, kSettingPortNumber, 9), 2);
}

TEST_F(QSettingsStoreTest, HandEditedValuesAreRead) {
    handwrite(
        "[General]\r\n"
        "Serial Port Baud Rate=9600\r\n"
        "Mouse Wheel Enabled=0\r\n"
        "Color Theme=Mono Dark\r\n"
        "Serial Port Number=-3\r\n");
    QSettingsStore store(path());
    EXPECT_EQ(getsetting(store, kSettingBaudRate, kDefaultBaudRate), "9600");
    EXPECT_EQ(getsettingnum(store, kSettingMouseWheel, kDefaultMouseWheel), 0);
    EXPECT_EQ(getsetting(store, kSettingColorTheme, kDefaultColorTheme), "Mono Dark");
    EXPECT_EQ(getsettingnum(store, kSettingPortNumber, 2), -3);
}

TEST_F(QSettingsStoreTest, ChangesOnDiskAreSeenAtTheNextRead) {
    QSettingsStore store(path());
    EXPECT_EQ(getsetting(store, kSettingColorTheme, kDefaultColorTheme), "Original Lite");
    {
        QSettings other(dir_.filePath("Quellmark.ini"), QSettings::IniFormat);
        other.setValue("Color Theme", "Toxic");
    }
    EXPECT_EQ(getsetting(store, kSettingColorTheme, kDefaultColorTheme), "Toxic");
}

TEST_F(QSettingsStoreTest, TextsRoundTripAndOverlongOnesAreReplaced) {
    QSettingsStore store(path());
    for (const std::string& text :
         {std::string("/home/a, b/c;d=e/"), std::string("  padded  "), std::string("@odd"),
          std::string("C:\\Progs\\hex\\"), std::string("\xC3\xA9t\xC3\xA9/\xE2\x82\xAC"),
          std::string(""), std::string(254, 'x')}) {
        savesetting(store, kSettingLastPath, text);
        QSettingsStore reader(path());
        EXPECT_EQ(getsetting(reader, kSettingLastPath, "/app/"), text);
    }
    savesetting(store, kSettingLastPath, std::string(255, 'x'));
    EXPECT_EQ(getsetting(store, kSettingLastPath, "/app/"), "/app/");
    EXPECT_EQ(ondisk("Last Path").toString(), "/app/");
}

TEST_F(QSettingsStoreTest, NumbersRoundTripOverTheWhole32BitRange) {
    for (int32_t value : {0, -1, 16, -56000, std::numeric_limits<int32_t>::max(),
                          std::numeric_limits<int32_t>::min()}) {
        QSettingsStore writer(path());
        savesettingnum(writer, kSettingPortNumber, value);
        QSettingsStore reader(path());
        EXPECT_EQ(getsettingnum(reader, kSettingPortNumber, 2), value);
    }
}

TEST_F(QSettingsStoreTest, TextThatIsNotA32BitNumberIsReplacedByTheNumericDefault) {
    QSettingsStore store(path());
    for (const char* text : {"abc", "12abc", "", "0x10", "2.5", "+-5", "-", "2147483648",
                             "-2147483649", "99999999999"}) {
        savesetting(store, kSettingPortNumber, text);
        EXPECT_EQ(getsettingnum(store, kSettingPortNumber, 2), 2) << text;
        EXPECT_EQ(ondisk("Serial Port Number").toString(), "2") << text;
    }
    savesetting(store, kSettingPortNumber, "+7");
    EXPECT_EQ(getsettingnum(store, kSettingPortNumber, 2), 7);
    savesetting(store, kSettingPortNumber, "-2147483648");
    EXPECT_EQ(getsettingnum(store, kSettingPortNumber, 2), std::numeric_limits<int32_t>::min());
    // Numbers read back as their digits when asked for text.
    savesettingnum(store, kSettingModel, 3);
    EXPECT_EQ(getsetting(store, kSettingModel, "1"), "3");
}

TEST_F(QSettingsStoreTest, AnUnwritableLocationGivesDefaultsWithoutFailing) {
    handwrite("");
    // A folder cannot be created below a plain file.
    QSettingsStore store(dir_.filePath("Quellmark.ini/sub/Quellmark.ini").toStdString());
    savesetting(store, kSettingColorTheme, "Toxic");
    EXPECT_EQ(getsetting(store, kSettingColorTheme, "Original Lite"), "Original Lite");
    EXPECT_EQ(getsettingnum(store, kSettingPortNumber, 2), 2);
    EXPECT_FALSE(QFileInfo::exists(dir_.filePath("Quellmark.ini/sub")));
    // The failure is there for the front ends to report.
    EXPECT_EQ(
        store.writefailure(),
        "its folder " + dir_.filePath("Quellmark.ini/sub").toStdString() + " cannot be created");
}

#ifndef Q_OS_WIN
TEST_F(QSettingsStoreTest, ThePerUserStoreIsQuellmarkIniInTheConfigFolder) {
    // Points the user config folder at the temporary one so the real settings stay untouched.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
    QSettingsStore store;
    EXPECT_EQ(store.location(), path());
    EXPECT_EQ(getsetting(store, kSettingColorTheme, kDefaultColorTheme), "Original Lite");
    EXPECT_EQ(ondisk("Color Theme").toString(), "Original Lite");
}

// QSettings would block on a pipe and replace a device node by an INI file: the store never
// opens such a thing, and says why.
TEST_F(QSettingsStoreTest, APerUserFileThatIsNoOrdinaryFileIsLeftAlone) {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
    ASSERT_EQ(mkfifo(path().c_str(), 0600), 0);
    QSettingsStore store;
    EXPECT_EQ(store.unusablereason(), "it is a pipe, not an ordinary file");
    EXPECT_EQ(getsetting(store, kSettingColorTheme, kDefaultColorTheme), "Original Lite");
    savesettingnum(store, kSettingPortNumber, 5);
    EXPECT_EQ(getsettingnum(store, kSettingPortNumber, 2), 2);
    EXPECT_TRUE(std::filesystem::is_fifo(path()));

    // A link to an ordinary file is fine and is written through.
    std::filesystem::remove(path());
    handwrite("");
    std::filesystem::rename(path(), path() + ".real");
    std::filesystem::create_symlink(path() + ".real", path());
    QSettingsStore linked;
    EXPECT_EQ(linked.unusablereason(), "");
    savesettingnum(linked, kSettingPortNumber, 5);
    EXPECT_EQ(getsettingnum(linked, kSettingPortNumber, 2), 5);
    EXPECT_TRUE(std::filesystem::is_symlink(path()));
    EXPECT_EQ(linked.writefailure(), "");
}
#endif

}  // namespace
}  // namespace qm
