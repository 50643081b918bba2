#pragma once

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "devices/loaddevices.h"
#include "gui/app/mainwindow.h"
#include "gui/app/memorydump.h"
#include "gui/dialogs/messagebox.h"
#include "host/virtualclock.h"
#include "link/portnames.h"
#include "settings/memorysettingsstore.h"
#include "sim/simadapter.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace qm::gui::test {

// The shipped device file, as the program finds it beside the executable.
inline DeviceTable shippeddevices() {
    return loaddevices(std::string(QUELLMARK_SOURCE_DIR) + "/data/quellmarkdevices.txt").table;
}

inline std::string exampleshex() {
    return std::string(QUELLMARK_SOURCE_DIR) + "/data/examples/blink628a.hex";
}

// A temporary folder with a short path whatever TMPDIR says: the message box breaks a word of
// more than 55 characters, and a test that finds a whole path in a box needs it unbroken.
class ShortTemporaryDir : public QTemporaryDir {
  public:
    ShortTemporaryDir() : QTemporaryDir(QStringLiteral("/tmp/qm-XXXXXX")) {}
};

// A main window on the shipped device file, fresh in-memory settings and virtual time. Its
// serial ports are a simulated adapter on which only the device names in `openable` open; with
// a --port value the window runs on that port instead (sim: a simulated chip).
struct GuiRig {
    // `port`: a --port value, for this run only.
    explicit GuiRig(std::optional<std::string> port = std::nullopt,
                    std::vector<std::string> openable = {"/dev/ttyS2"},
                    const StopSignals* stopsignals = nullptr) {
        std::vector<std::string> closed;
        for (int n = 1; n <= 16; ++n) {
            const std::string name = portdevicename(n);
            if (std::find(openable.begin(), openable.end(), name) == openable.end()) {
                closed.push_back(name);
            }
        }
        ports.setunavailable(closed);
        MainWindowSetup setup;
        setup.devices = &devices;
        setup.settings = &settings;
        setup.appfolder = "/tmp/";
        setup.clock = &clock;
        setup.realport = &ports;
        setup.options.port = std::move(port);
        setup.stopsignals = stopsignals;
        window = std::make_unique<MainWindow>(std::move(setup));
    }

    // Loads and waits until the window is shown and active, as after a start.
    void load() {
        window->Form_Load();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) ADD_FAILURE() << "the window is not active";
    }

    template <typename T = QWidget>
    T* find(const char* name) const {
        T* widget = window->findChild<T*>(name);
        if (widget == nullptr) ADD_FAILURE() << "no control " << name;
        return widget;
    }
    // A label's text; whole where the label shows only what fits of it.
    QString text(const char* name) const;
    MemoryDump* flashview() const { return find<MemoryDump>("tabla_flash"); }
    MemoryDump* eepromview() const { return find<MemoryDump>("tabla_eeprom"); }
    void click(const char* name) const;

    DeviceTable devices = shippeddevices();
    MemorySettingsStore settings;
    VirtualClock clock;
    SimAdapter ports;
    std::unique_ptr<MainWindow> window;
};

// Answers the next modal dialog of type T once it is shown: the call returns at once, and the
// action runs inside the dialog's own event loop. Chip operations process events while they run,
// so the helper keeps looking until such a dialog is there.
template <typename T>
void whenmodal(std::function<void(T*)> action, int attempts = 2000) {
    QTimer::singleShot(1, [action, attempts] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            if (dialog->isVisible()) {
                action(dialog);
                return;
            }
        }
        if (attempts > 0) {
            whenmodal<T>(action, attempts - 1);
        } else {
            ADD_FAILURE() << "no modal " << T::staticMetaObject.className() << " appeared";
        }
    });
}

// A message box's text (line ends as the label shows them) and how it was answered.
struct SeenBox {
    QString text;
    QString title;
    bool seen = false;
};
// Records the next message box and presses its first button.
void acceptmessage(SeenBox& seen);

// Closes every message box that shows while it watches and keeps their texts: for steps after
// which no box is expected, so that one coming anyway is seen rather than waited on forever.
class BoxWatch {
  public:
    BoxWatch();
    // Left running, the watch would close the next box before a check sees it.
    void stop() { timer_.stop(); }
    const QStringList& texts() const { return texts_; }

  private:
    QTimer timer_;
    QStringList texts_;
};

}  // namespace qm::gui::test
