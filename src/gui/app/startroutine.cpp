#include "gui/app/startroutine.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include <cstdio>

#include "devices/devicefilelocation.h"
#include "devices/loaddevices.h"
#include "files/filekind.h"
#include "gui/app/mainwindow.h"
#include "gui/app/startoptions.h"
#include "gui/dialogs/messagebox.h"
#include "host/exitcode.h"
#include "platform/applicationfolder.h"
#include "platform/stopsignals.h"
#include "platform/usersettings.h"
#include "text/licence.h"

namespace qm::gui {

namespace {

QString lockfilepath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return QDir(folder).filePath("quellmark.lock");
}

// The device file's problems, for an error box before any window exists.
QString devicefileproblem(const LoadDevicesResult& loaded, const std::string& path) {
    if (loaded.status == LoadDevicesStatus::FileError) {
        return QString::fromStdString(
            loaded.error.empty() ? "Cannot read the device file " + path + "." : loaded.error);
    }
    if (loaded.status == LoadDevicesStatus::NoModels) {
        return QString::fromStdString("The device file " + path +
                                      " lists no model.\r\nThe program cannot run without one.");
    }
    return {};
}

}  // namespace

std::optional<int> answeronterminal(const std::vector<std::string>& args) {
    const ParsedStart parsed = parsestartoptions(args);
    if (!parsed.ok) {
        std::fprintf(stderr, "quellmark: %s\n%s", parsed.error.c_str(), startusage().c_str());
        return kExitUsage;
    }
    if (parsed.options.help || parsed.options.version) {
        const std::string version =
            std::string("quellmark " QUELLMARK_VERSION "\n") + kLicenceLine + "\n";
        std::fputs(parsed.options.help ? startusage().c_str() : version.c_str(), stdout);
        return 0;
    }
    return std::nullopt;
}

int startroutine(QApplication& app, const std::vector<std::string>& args) {
    if (const std::optional<int> code = answeronterminal(args)) return *code;
    const ParsedStart parsed = parsestartoptions(args);

    // QLockFile opens and reads an existing lock: a pipe there would hang the start with no
    // window, and a device node or folder would pass for another instance.
    const QString lockpath = lockfilepath();
    if (const std::string why = notordinaryfile(lockpath.toStdString()); !why.empty()) {
        const std::string text =
            "The lock file " + lockpath.toStdString() +
            ", which keeps a second Quellmark from starting, cannot be used: " + why +
            "; it was left alone.";
        std::fprintf(stderr, "quellmark: %s\n", text.c_str());
        DialogContext plain;
        plain.dialogcaption = QStringLiteral("Quellmark");
        mymsgbox(nullptr, plain, QString::fromStdString(text), 16);
        return kExitUsage;
    }
    QLockFile lock(lockpath);
    if (!lock.tryLock(0)) return 0;
    // From here on a signal asking the program to end lets a running operation switch the supply
    // off first; the window ends the program once it has.
    StopSignals stopsignals("quellmark");

    const std::string appfolder = applicationfolder();
    DialogContext dialogs;
    dialogs.dialogcaption = QStringLiteral("Quellmark");
    dialogs.dialogscale = 1.0;

    const std::string devicepath = finddevicefile(appfolder);
    const LoadDevicesResult loaded = loaddevices(devicepath);
    if (const QString problem = devicefileproblem(loaded, devicepath); !problem.isEmpty()) {
        mymsgbox(nullptr, dialogs, problem, 16);
        return kExitDevice;
    }
    const std::vector<std::string> warnings =
        formatdevicewarnings(loaded.warnings, devicepath, loaded.warningcount);
    if (!warnings.empty()) {
        std::string text;
        for (const std::string& line : warnings) text += line + "\r\n";
        mymsgbox(nullptr, dialogs, QString::fromStdString(text), 64);
    }

    std::unique_ptr<QSettingsStore> settings = usersettings(parsed.options.settings.value_or(""));
    if (const std::string why = settings->unusablereason(); !why.empty()) {
        const std::string text = "The settings file " + settings->location() +
                                 " cannot be used: " + why + "; it was left alone.";
        std::fprintf(stderr, "quellmark: %s\n", text.c_str());
        mymsgbox(nullptr, dialogs, QString::fromStdString(text), 16);
        return kExitUsage;
    }
    MainWindowSetup setup;
    setup.devices = &loaded.table;
    setup.settings = settings.get();
    setup.appfolder = appfolder;
    setup.dialogcaption = dialogs.dialogcaption;
    setup.dialogscale = dialogs.dialogscale;
    setup.port = parsed.options.port;
    setup.ftdipins = parsed.options.ftdipins.value_or("");
    setup.onendprogram = [&lock] { lock.unlock(); };
    setup.stopsignals = &stopsignals;
    // Every event loop ends, a modal dialog's too; the window's destructor then shuts the port
    // down (the simulated chip's image saved, a cable's lines handed back).
    setup.quit = [](int code) { QCoreApplication::exit(code); };

    MainWindow window(std::move(setup));
    // Said once: the load sequence already writes, so a store that cannot keep anything is
    // usually found right away; otherwise when the program ends.
    bool settingsfailureshown = false;
    const auto reportsettingsfailure = [&] {
        const std::string& why = settings->writefailure();
        if (why.empty() || settingsfailureshown) return;
        settingsfailureshown = true;
        const std::string text =
            "The settings could not be saved to " + settings->location() + ": " + why + ".";
        // Ended by a signal, the program may have nobody left to close a box.
        if (window.stopexitcode() != 0) {
            std::fprintf(stderr, "quellmark: %s\n", text.c_str());
            return;
        }
        mymsgbox(&window, dialogs, QString::fromStdString(text), 64);
    };
    window.Form_Load();
    reportsettingsfailure();
    if (!parsed.options.hexfile.empty()) {
        window.openhexpath(QString::fromStdString(parsed.options.hexfile));
    }
    const int exitcode = app.exec();
    reportsettingsfailure();
    return exitcode;
}

}  // namespace qm::gui
