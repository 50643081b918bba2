// The Options commands that open dialogs of their own (model, programming time, colour theme)
// and the Help texts.
#include <QtGlobal>

#include "devices/progtimeanswer.h"
#include "devices/selectmodel.h"
#include "gui/app/helptexts.h"
#include "gui/app/mainwindow.h"
#include "gui/dialogs/inputbox.h"
#include "gui/dialogs/modeldialog.h"
#include "gui/themes/themechooser.h"
#include "platform/port/programmerport.h"
#include "settings/settings.h"

namespace qm::gui {

void MainWindow::menumodel_Click() {
    if (refusedwhilebusy()) return;
    ModelDialog dialog(this, dialogs_, devices_, activemodel_.modelnumber);
    dialog.exec();

    // Only a real change is saved and activated, so a programming time the user set survives
    // a Select of the same model. A model the buffer cannot hold is refused and not saved.
    const int32_t chosen = dialog.chosen();
    bool changed = false;
    if (chosen != 0 && chosen != activemodel_.modelnumber) {
        const SelectModelResult selected = selectmodel(devices_, chosen, activemodel_);
        if (selected.ok) {
            savesetting(settings_, kSettingModel, std::to_string(chosen));
            changed = true;
        } else {
            showmessage(QString::fromStdString(selected.message), kMsgError);
        }
    }
    // Whatever the way the dialog ended, the buffer starts afresh for the active model; the
    // loaded file's name and the status line, which spoke of the old buffer, are emptied too.
    menuclear_Click();
    if (changed) {
        const std::string problem = port_->modelchanged();
        if (!problem.empty()) showmessage(QString::fromStdString(problem), kMsgError);
    }
}

void MainWindow::menuprogtime_Click() {
    const QString answer = myinputbox(this, dialogs_, "Enter new programming time in ms [1-30].",
                                      QString(), QString::number(activemodel_.progtime));
    const ProgTimeAnswer parsed = parseprogtimeanswer(answer.toStdString());
    switch (parsed.kind) {
        case ProgTimeAnswer::Kind::Nothing:
            return;
        case ProgTimeAnswer::Kind::Wrong:
            showmessage("Wrong entry!", kMsgError);
            return;
        case ProgTimeAnswer::Kind::Time:
            // Until the next model activation sets it from the device file again.
            activemodel_.progtime = parsed.progtime;
            return;
    }
}

void MainWindow::menucolors_Click() {
    ThemeChooser dialog(this, settings_, theme_, [this] { settheme(); });
    dialog.exec();
}

void MainWindow::menuportinfo_Click() { showmessage(pinouttext(), kMsgPlain); }

void MainWindow::menuabout_Click() {
    showmessage(abouttext(dialogs_.dialogcaption, QUELLMARK_VERSION, qVersion()), kMsgPlain);
}

}  // namespace qm::gui
