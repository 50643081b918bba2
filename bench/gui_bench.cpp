// Program All followed by Verify of a completely filled 16F877A on the simulated chip, clicked
// through the main window (offscreen), with real waits; and the same two operations on the bare
// engine with the cheapest host, in the same run. Prints both times, their ratio and the longest
// time the window went without processing its events during the clicked run.
//
// Usage: gui_bench [runs]   (default 1; each run takes about 15 s)
#include <QApplication>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "benchjob.h"
#include "buffer/progbuffer.h"
#include "engine/chipoperations.h"
#include "engine/engine.h"
#include "gui/app/mainwindow.h"
#include "host/host.h"
#include "host/systemclock.h"
#include "link/linedriver.h"
#include "settings/memorysettingsstore.h"
#include "settings/settingnames.h"
#include "sim/simprogrammer.h"

namespace {

using Wall = std::chrono::steady_clock;

double ms(Wall::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

using BareHost = qm::bench::BenchHost<qm::SystemClock>;

// The same contents as the engine benchmark writes.

double enginerun(const qm::ActiveModel& model) {
    BareHost host;
    qm::SimProgrammer sim(model, host.clock());
    sim.open("");
    qm::LineDriver driver(sim.port(), host, model);
    qm::ProgBuffer buffer;
    qm::clearbuffer(buffer, model);
    qm::bench::fill(buffer);
    qm::Engine engine(host, sim.port(), driver, model, buffer);
    qm::PortState port;
    port.portready = true;
    const auto t0 = Wall::now();
    const auto programmed = qm::programall(engine, port);
    const auto verified = qm::verifyall(engine, port);
    const auto t1 = Wall::now();
    if (programmed.status != qm::OperationStatus::Done ||
        verified.status != qm::OperationStatus::Done) {
        std::fprintf(stderr, "engine run: %s\n", host.last.c_str());
        return -1;
    }
    return ms(t1 - t0);
}

struct GuiRun {
    double ms = -1;
    double longestgapms = 0;
    long long passes = 0;
};

GuiRun guirun(const qm::DeviceTable& devices, int32_t modelnumber) {
    qm::MemorySettingsStore settings;
    settings.writetext(qm::kSettingModel, std::to_string(modelnumber));
    qm::gui::MainWindowSetup setup;
    setup.devices = &devices;
    setup.settings = &settings;
    setup.appfolder = "/tmp/";
    setup.options.port = "sim";  // real time: no clock given
    qm::gui::MainWindow window(std::move(setup));
    window.Form_Load();
    qm::bench::fill(window.progbuffer());
    window.updatedisplay();
    QApplication::processEvents();

    auto* program = window.findChild<QPushButton*>("Command1");
    auto* verify = window.findChild<QPushButton*>("Command5");
    GuiRun run;
    window.pump().resetstats();
    const auto t0 = Wall::now();
    program->click();
    const std::string programmed =
        window.findChild<QWidget*>("label_status")->property("text").toString().toStdString();
    verify->click();
    const auto t1 = Wall::now();
    run.longestgapms =
        std::chrono::duration<double, std::milli>(window.pump().longestgap()).count();
    run.passes = window.pump().passes();
    const std::string verified =
        window.findChild<QWidget*>("label_status")->property("text").toString().toStdString();
    if (programmed.rfind("Chip programmed.", 0) != 0 || verified.rfind("Chip verified.", 0) != 0) {
        std::fprintf(stderr, "window run: %s / %s\n", programmed.c_str(), verified.c_str());
        return run;
    }
    run.ms = ms(t1 - t0);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    const qm::bench::BenchModel bench = qm::bench::loadbenchmodel();
    if (bench.number == 0) return 1;
    const qm::ActiveModel& model = bench.model;

    std::printf("16F877A, %d FLASH words, %d EEPROM bytes, Program All + Verify, real waits\n",
                model.flashsize, model.eepromsize);
    std::printf("  run   window ms   engine ms   ratio   longest gap ms   event passes\n");
    bool ok = true;
    for (int i = 1; i <= runs; ++i) {
        const GuiRun gui = guirun(bench.devices, bench.number);
        const double engine = enginerun(model);
        if (gui.ms < 0 || engine < 0) {
            ok = false;
            continue;
        }
        std::printf("  %3d  %10.1f  %10.1f  %6.3f  %15.1f  %13lld\n", i, gui.ms, engine,
                    gui.ms / engine, gui.longestgapms, gui.passes);
    }
    return ok ? 0 : 1;
}
