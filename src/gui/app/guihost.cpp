#include "gui/app/guihost.h"

#include "gui/app/mainwindow.h"

namespace qm::gui {

void GuiHost::setstatus(const std::string& text) {
    window_.setstatus(QString::fromStdString(text));
}

int GuiHost::mymsgbox(const std::string& text, int type, const std::string& caption) {
    return window_.showmessage(QString::fromStdString(text), type, QString::fromStdString(caption));
}

void GuiHost::endprogram() { window_.endprogram(); }

void GuiHost::disable() { window_.disable(); }

void GuiHost::enable() { window_.enable(); }

void GuiHost::updatedisplay() { window_.updatedisplay(); }

}  // namespace qm::gui
