// In-place editing: one edit box, placed over the value under a right click in a memory view or
// over a configuration word; Enter stores, Esc or leaving the box discards.
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>

#include "buffer/bufferedit.h"
#include "devices/configwords.h"
#include "gui/app/clicklabel.h"
#include "gui/app/elidedlabel.h"
#include "gui/app/mainwindow.h"
#include "gui/app/memorydump.h"
#include "gui/app/twips.h"
#include "gui/dialogs/configdialog.h"

namespace qm::gui {

namespace {

constexpr int kEditBoxHeight = 255;  // twips

}  // namespace

void MainWindow::dumprightclicked(MemoryDump* dump, QPoint point) {
    if (refusedwhilebusy()) return;
    const std::optional<MemoryDump::Cell> cell = dump->cellat(point);
    if (!cell) return;
    const bool flash = dump == tabla_flash_;
    QScrollBar* bar = flash ? scrl1_ : scrl2_;
    const int32_t size = flash ? activemodel_.flashsize : activemodel_.eepromsize;
    const int32_t index = viewlocation(bar->value(), cell->row, cell->column, size);
    if (index < 0) return;
    bar->setFocus();
    edittarget_ = flash ? EditTarget::Flash : EditTarget::Eeprom;
    editindex_ = index;
    const QRect place = dump->cellrect(cell->row, cell->column).translated(dump->pos());
    openeditbox(place, flash ? 4 : 2);
}

void MainWindow::label_conf_Click(int index) {
    if (refusedwhilebusy()) return;
    edittarget_ = EditTarget::Config;
    editindex_ = index + 1;
    openeditbox(label_conf_[size_t(index)]->geometry(), 4);
}

void MainWindow::label_conf_DblClick() {
    closeeditbox();
    menuconfig_Click();
}

void MainWindow::menuconfig_Click() {
    if (refusedwhilebusy()) return;
    if (const std::string why = nofieldsreason(activemodel_); !why.empty()) {
        showmessage(QString::fromStdString(why), kMsgInfo);
        return;
    }
    ConfigDialog dialog(this, dialogs_, activemodel_, progbuffer_.conf);
    if (dialog.exec() != QDialog::Accepted || dialog.words() == progbuffer_.conf) return;
    // Stored as an edit of the word stores it: the buffer no longer equals the file.
    for (int index = 0; index < 2; ++index) {
        storeedit(progbuffer_, EditTarget::Config, index + 1, dialog.words()[size_t(index)]);
    }
    updatedisplay();
    label_hex_->setfulltext(QString());
}

void MainWindow::showconfigtips() {
    for (int index = 0; index < 2; ++index) {
        QString tip = QStringLiteral("Click to edit!");
        const std::vector<std::string> lines = describeconfig(
            activemodel_.configfields[size_t(index)], progbuffer_.conf[size_t(index)]);
        if (!lines.empty()) tip += QStringLiteral(" Double-click to choose by name.\n");
        for (const std::string& line : lines) tip += "\n" + QString::fromStdString(line);
        label_conf_[size_t(index)]->setToolTip(tip);
    }
}

void MainWindow::openeditbox(QRect geometry, int maxlength) {
    const int height = std::max(
        {px(kEditBoxHeight), unosbox_->fontMetrics().lineSpacing() + 2, geometry.height()});
    unosbox_->setGeometry(geometry.left(), geometry.top(), geometry.width(), height);
    unosbox_->setMaxLength(maxlength);
    unosbox_->clear();
    unosbox_->show();
    unosbox_->raise();
    unosbox_->setFocus();
}

void MainWindow::unosbox_Enter() {
    const std::string typed = unosbox_->text().toStdString();
    const std::optional<int32_t> value = editvalue(typed, edittarget_);
    if (value && !busy_ && storeedit(progbuffer_, edittarget_, editindex_, *value)) {
        (edittarget_ == EditTarget::Eeprom ? scrl2_ : scrl1_)->setFocus();
        updatedisplay();
        label_hex_->setfulltext(QString());
    }
    closeeditbox();
}

void MainWindow::closeeditbox() {
    if (closingedit_ || !unosbox_->isVisible()) return;
    closingedit_ = true;
    const bool hadfocus = unosbox_->hasFocus();
    unosbox_->hide();
    if (hadfocus || QApplication::focusWidget() == nullptr) {
        (edittarget_ == EditTarget::Eeprom ? scrl2_ : scrl1_)->setFocus();
    }
    closingedit_ = false;
}

}  // namespace qm::gui
