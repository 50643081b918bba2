// The program as a process: a second start ends at once and silently; --help.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sys/stat.h>

#include <functional>

#include "gui/app/startroutine.h"
#include "guirig.h"

namespace qm::gui::test {
namespace {

// An environment of its own per test: settings, the runtime folder that holds the instance
// lock, and no display.
QProcessEnvironment isolated(const QTemporaryDir& dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", dir.path());
    env.insert("QUELLMARK_SETTINGS", dir.filePath("settings.ini"));
    return env;
}

TEST(GuiStart, ASecondInstanceEndsAtOnceAndSilently) {
    QTemporaryDir dir;
    QProcess first;
    first.setProcessEnvironment(isolated(dir));
    first.start(QUELLMARK_GUI_EXE, {"--port", "sim", QString::fromStdString(exampleshex())});
    ASSERT_TRUE(first.waitForStarted(10000));
    // The first instance holds its lock once it has started up.
    for (int i = 0; i < 200 && !QFileInfo::exists(dir.filePath("quellmark.lock")); ++i) {
        QThread::msleep(50);
    }
    ASSERT_TRUE(QFileInfo::exists(dir.filePath("quellmark.lock")));

    QProcess second;
    second.setProcessEnvironment(isolated(dir));
    second.start(QUELLMARK_GUI_EXE, {"--port", "sim"});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(second.readAllStandardOutput(), "");
    EXPECT_EQ(first.state(), QProcess::Running);

    // What the first one saves: the folder of the file it opened, and no port (simulated run).
    const auto settings = [&] {
        QFile file(dir.filePath("settings.ini"));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    };
    const QByteArray lastpath = "Last%20Path=" QUELLMARK_SOURCE_DIR "/data/examples/";
    for (int i = 0; i < 200 && !settings().contains(lastpath); ++i) QThread::msleep(50);
    first.kill();
    first.waitForFinished(10000);
    EXPECT_TRUE(settings().contains(lastpath)) << settings().toStdString();
    EXPECT_FALSE(settings().contains("Serial%20Port%20Number"));
}

TEST(GuiStart, HelpAndBadArgumentsAnswerOnTheTerminal) {
    QTemporaryDir dir;
    QProcess help;
    help.setProcessEnvironment(isolated(dir));
    help.start(QUELLMARK_GUI_EXE, {"--help"});
    ASSERT_TRUE(help.waitForFinished(10000));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().contains("--port PORT"));

    // Without any display: the answer needs no window system.
    QProcess version;
    QProcessEnvironment headless = isolated(dir);
    headless.insert("QT_QPA_PLATFORM", "xcb");
    headless.remove("DISPLAY");
    headless.remove("WAYLAND_DISPLAY");
    version.setProcessEnvironment(headless);
    version.start(QUELLMARK_GUI_EXE, {"--version"});
    ASSERT_TRUE(version.waitForFinished(10000));
    EXPECT_EQ(version.exitCode(), 0);
    EXPECT_EQ(version.readAllStandardOutput(),
              "quellmark " QUELLMARK_VERSION
              "\nLicense: GNU GPL version 3 or later (GPL-3.0-or-later)\n");

    const std::pair<QStringList, QByteArray> bads[] = {
        // The same words as the command-line program's.
        {{"--port", "COM17"}, "quellmark: unknown port 'COM17': use 1-16, COM1-COM16"},
        {{"--port", "ftdisim", "--ftdi-pins", "rts=D3"}, "quellmark: option --ftdi-pins: "},
        {{"--port", "sim", "--ftdi-pins", "rts=D2"},
         "quellmark: option --ftdi-pins needs an FT232R cable"},
        {{"--model", "16F628A"}, "quellmark: unknown option --model"},
    };
    for (const auto& [args, said] : bads) {
        QProcess bad;
        bad.setProcessEnvironment(isolated(dir));
        bad.start(QUELLMARK_GUI_EXE, args);
        ASSERT_TRUE(bad.waitForFinished(10000));
        EXPECT_EQ(bad.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(bad.readAllStandardError().contains(said)) << said.toStdString();
    }
}

TEST(GuiStart, ASettingsPathThatIsNoOrdinaryFileIsRefusedWithAnErrorBox) {
    SeenBox seen;
    acceptmessage(seen);
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(startroutine(*app, {"--settings", "/dev/null"}), 2);
    EXPECT_TRUE(seen.seen);
    EXPECT_TRUE(seen.text.contains("/dev/null cannot be used")) << seen.text.toStdString();
    EXPECT_TRUE(seen.text.contains("left alone")) << seen.text.toStdString();
}

// The lock that keeps a second instance from starting: something other than a file there is
// named with what is wrong, instead of a start that hangs with no window or ends without a word.
TEST(GuiStart, AnInstanceLockThatIsNoFileIsRefusedWithAnErrorBox) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const struct {
        const char* kind;
        std::function<bool(const QString&)> make;
    } cases[] = {
        {"a pipe", [](const QString& path) { return mkfifo(qPrintable(path), 0600) == 0; }},
        {"a folder", [](const QString& path) { return QDir().mkdir(path); }},
        {"a character device", [](const QString& path) { return QFile::link("/dev/null", path); }},
    };
    for (const auto& c : cases) {
        ShortTemporaryDir dir;  // made 0700, as a runtime folder must be
        qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
        const QString lock = dir.filePath("quellmark.lock");
        ASSERT_TRUE(c.make(lock)) << c.kind;
        SeenBox seen;
        acceptmessage(seen);
        EXPECT_EQ(startroutine(*app, {"--port", "sim"}), 2) << c.kind;
        EXPECT_TRUE(seen.text.contains("The lock file " + lock)) << seen.text.toStdString();
        EXPECT_TRUE(seen.text.contains(QString("it is ") + c.kind + ", not an ordinary file"))
            << seen.text.toStdString();
        EXPECT_TRUE(QFileInfo(lock).exists() || QFileInfo(lock).isSymLink()) << c.kind;
    }
    qputenv("XDG_RUNTIME_DIR", runtime);
}

}  // namespace
}  // namespace qm::gui::test
