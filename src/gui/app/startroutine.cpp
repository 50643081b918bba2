#include "gui/app/startroutine.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include <cstdio>

#include "files/filekind.h"
#include "gui/app/mainwindow.h"
#include "gui/app/startoptions.h"
#include "gui/dialogs/messagebox.h"
#include "host/exitcode.h"
#include "platform/applicationfolder.h"
#include "platform/startup.h"
#include "platform/stopsignals.h"
#include "platform/usersettings.h"
#include "text/asciicase.h"
#include "text/licence.h"

namespace qm::gui {

namespace {

QString lockfilepath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return QDir(folder).filePath("quellmark.lock");
}

// What keeps the program from starting, on the terminal and in an error box (no window exists
// yet); returns the exit code.
int refusestart(const std::string& text, int exitcode) {
    const std::string sentence = firstupper(text);
    std::fprintf(stderr, "quellmark: %s\n", sentence.c_str());
    DialogContext plain;
    plain.dialogcaption = QStringLiteral("Quellmark");
    mymsgbox(nullptr, plain, QString::fromStdString(sentence), kMsgError);
    return exitcode;
}

// QLockFile opens and reads an existing lock: a pipe there would hang the start with no window,
// and a device node or folder would pass for another instance. Why the lock cannot be used,
// empty when it can.
std::string lockrefusal(const QString& lockpath) {
    const std::string why = notordinaryfile(lockpath.toStdString());
    if (why.empty()) return {};
    return "the lock file " + lockpath.toStdString() +
           ", which keeps a second Quellmark from starting, cannot be used: " + why +
           "; it was left alone.";
}

// The device file's format warnings, in one information box.
void showwarnings(const DialogContext& dialogs, const std::vector<std::string>& warnings) {
    if (warnings.empty()) return;
    std::string text;
    for (const std::string& line : warnings) text += line + "\r\n";
    mymsgbox(nullptr, dialogs, QString::fromStdString(text), kMsgInfo);
}

}  // namespace

std::optional<int> answeronterminal(const std::vector<std::string>& args) {
    const ParsedStart parsed = parsestartoptions(args);
    if (!parsed.ok) {
        std::fprintf(stderr, "quellmark: %s\n%s", parsed.error.c_str(), startusage().c_str());
        return kExitUsage;
    }
    if (parsed.options.help || parsed.options.version) {
        const std::string version = versiontext("quellmark", QUELLMARK_VERSION);
        std::fputs(parsed.options.help ? startusage().c_str() : version.c_str(), stdout);
        return kExitOk;
    }
    return std::nullopt;
}

int startroutine(QApplication& app, const std::vector<std::string>& args) {
    if (const std::optional<int> code = answeronterminal(args)) return *code;
    const ParsedStart parsed = parsestartoptions(args);

    const QString lockpath = lockfilepath();
    if (const std::string refused = lockrefusal(lockpath); !refused.empty())
        return refusestart(refused, kExitUsage);
    QLockFile lock(lockpath);
    if (!lock.tryLock(0)) return kExitOk;
    // From here on a signal asking the program to end lets a running operation switch the supply
    // off first; the window ends the program once it has.
    StopSignals stopsignals("quellmark");

    DialogContext dialogs;
    dialogs.dialogcaption = QStringLiteral("Quellmark");
    dialogs.dialogscale = 1.0;

    const DeviceFileLoad devices = loaddevicefile(std::nullopt);
    if (devices.exitcode != kExitOk)
        return refusestart(devices.problem + "\r\nThe program cannot run without it.",
                           devices.exitcode);
    showwarnings(dialogs, devices.warnings);

    std::unique_ptr<QSettingsStore> settings = usersettings(parsed.options.settings.value_or(""));
    if (const std::string refused = settingsrefusal(*settings); !refused.empty())
        return refusestart(refused, kExitUsage);

    MainWindowSetup setup;
    setup.devices = &devices.table;
    setup.settings = settings.get();
    setup.appfolder = applicationfolder();
    setup.dialogcaption = dialogs.dialogcaption;
    setup.dialogscale = dialogs.dialogscale;
    setup.options = parsed.options;
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
        const std::string failed = settingsfailure(*settings);
        if (failed.empty() || settingsfailureshown) return;
        settingsfailureshown = true;
        // Ended by a signal, the program may have nobody left to close a box.
        if (window.stopexitcode() != 0) {
            std::fprintf(stderr, "quellmark: %s\n", firstupper(failed).c_str());
            return;
        }
        mymsgbox(&window, dialogs, QString::fromStdString(firstupper(failed)), kMsgInfo);
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
