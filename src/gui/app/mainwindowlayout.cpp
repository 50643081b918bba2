// The main window's controls: creation, names, captions, tool tips and placement.
#include <QFontDatabase>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>

#include "buffer/dumprows.h"
#include "gui/app/clicklabel.h"
#include "gui/app/elidedlabel.h"
#include "gui/app/mainwindow.h"
#include "gui/app/memorydump.h"
#include "gui/app/twips.h"

namespace qm::gui {

namespace {

// The designed client area and the memory views, in twips.
constexpr int kClientWidth = 6195;
constexpr int kClientHeight = 6435;
constexpr QRect kFlashView(60, 2100, 5835, 1755);
constexpr QRect kEepromView(60, 4260, 3615, 1755);
constexpr int kScrollWidth = 255;
constexpr int kFlashRowChars = 47;
constexpr int kEepromRowChars = 29;

const char* const kModelTip = "Click to change microcontroller model!";
const char* const kFileTip = "Click to open HEX file!";

QRect topx(const QRect& twips) {
    return twipsrect(twips.left(), twips.top(), twips.width(), twips.height());
}

ElidedLabel* addelidedlabel(QWidget* client, const char* name, ElidedLabel::Cut cut,
                            const QString& tip, int left, int top, int width, int height) {
    auto* label = new ElidedLabel(cut, tip, client);
    label->setObjectName(name);
    label->setGeometry(twipsrect(left, top, width, height));
    return label;
}

}  // namespace

void MainWindow::buildmenus() {
    struct Command {
        const char* name;
        const char* caption;
        void (MainWindow::*slot)();
    };
    struct Menu {
        const char* name;
        const char* caption;
        std::vector<Command> commands;
    };
    const std::array<Menu, 5> menus = {{
        {"menu1",
         "&File",
         {{"menuclear", "&Clear Buffer", &MainWindow::menuclear_Click},
          {"menuopen", "&Open HEX File", &MainWindow::menuopen_Click},
          {"menusave", "&Save Buffer As", &MainWindow::menusave_Click}}},
        {"menu3",
         "&Tools",
         {{"menuprogram", "&Program All", &MainWindow::menuprogram_Click},
          {"menuread", "&Read All", &MainWindow::menuread_Click},
          {"menuerase", "&Erase All", &MainWindow::menuerase_Click},
          {"menublank", "&Blank Check", &MainWindow::menublank_Click},
          {"menuverify", "&Verify", &MainWindow::menuverify_Click},
          {"menuconfig", "&Configuration Word", &MainWindow::menuconfig_Click}}},
        {"menu4", "&Hardware", {{"menucheck", "Check", &MainWindow::menucheck_Click}}},
        {"menu5",
         "&Options",
         {{"menumodel", "Change Microcontroller Model", &MainWindow::menumodel_Click},
          {"menuport", "Change Serial Port Number", &MainWindow::menuport_Click},
          {"menuprogtime", "Change Default Programming Time", &MainWindow::menuprogtime_Click},
          {"menucolors", "Change Color Theme", &MainWindow::menucolors_Click}}},
        {"menu6",
         "Help",
         {{"menuportinfo", "Serial Port Pinout", &MainWindow::menuportinfo_Click},
          {"menuabout", "About Quellmark", &MainWindow::menuabout_Click}}},
    }};
    for (size_t m = 0; m < menus.size(); ++m) {
        QMenu* menu = menuBar()->addMenu(menus[m].caption);
        menu->setObjectName(menus[m].name);
        menus_[m] = menu;
        for (const Command& command : menus[m].commands) {
            QAction* action = menu->addAction(command.caption);
            action->setObjectName(command.name);
            connect(action, &QAction::triggered, this, command.slot);
        }
    }
}

QLabel* MainWindow::addlabel(const char* name, const QString& caption, int left, int top, int width,
                             int height) {
    auto* label = new QLabel(caption, client_);
    label->setObjectName(name);
    label->setGeometry(twipsrect(left, top, width, height));
    label->setTextFormat(Qt::PlainText);
    return label;
}

ClickLabel* MainWindow::addclicklabel(const char* name, const QString& caption, int left, int top,
                                      int width, int height) {
    auto* label = new ClickLabel(caption, client_);
    label->setObjectName(name);
    label->setGeometry(twipsrect(left, top, width, height));
    label->setTextFormat(Qt::PlainText);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

void MainWindow::buildcontrols() {
    client_ = new QWidget(this);
    client_->setObjectName("client");
    client_->installEventFilter(this);
    setCentralWidget(client_);

    Label7_ = addclicklabel("Label7", "Loaded HEX File", 60, 60, 1755, 255);
    label_hex_ = addelidedlabel(client_, "label_hex", ElidedLabel::Cut::Folders, kFileTip, 60, 360,
                                6075, 255);
    label_hex_->setCursor(Qt::PointingHandCursor);
    Label7_->setToolTip(kFileTip);  // the elided label keeps its own
    for (ClickLabel* label : std::initializer_list<ClickLabel*>{Label7_, label_hex_})
        connect(label, &ClickLabel::clicked, this, &MainWindow::menuopen_Click);

    struct Button {
        const char* name;
        const char* caption;
        int left, width;
        void (MainWindow::*slot)();
    };
    const std::array<Button, 5> buttons = {{
        {"Command1", "Program All", 60, 1155, &MainWindow::menuprogram_Click},
        {"Command2", "Read All", 1260, 1095, &MainWindow::menuread_Click},
        {"Command3", "Erase All", 2400, 1095, &MainWindow::menuerase_Click},
        {"Command4", "Blank Check", 3540, 1155, &MainWindow::menublank_Click},
        {"Command5", "Verify", 4740, 1095, &MainWindow::menuverify_Click},
    }};
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto* button = new QPushButton(buttons[i].caption, client_);
        button->setObjectName(buttons[i].name);
        button->setGeometry(twipsrect(buttons[i].left, 720, buttons[i].width, 315));
        connect(button, &QPushButton::clicked, this, buttons[i].slot);
        commands_[i] = button;
    }

    Label1_ = addclicklabel("Label1", "Microcontroller Model", 60, 1140, 2055, 255);
    label_ime_ = addclicklabel("label_ime", QString(), 2160, 1140, 2535, 255);
    label_info_ = addclicklabel("label_info", QString(), 60, 1440, 4635, 255);
    for (ClickLabel* label : {Label1_, label_ime_, label_info_}) {
        label->setToolTip(kModelTip);
        connect(label, &ClickLabel::clicked, this, &MainWindow::menumodel_Click);
    }

    Label3_ = addlabel("Label3", "FLASH Memory", 60, 1800, 1575, 255);
    Label4_ = addlabel("Label4", "EEPROM Memory", 60, 3960, 1575, 255);
    tabla_flash_ = new MemoryDump(7, 4, client_);
    tabla_flash_->setObjectName("tabla_flash");
    tabla_eeprom_ = new MemoryDump(5, 2, client_);
    tabla_eeprom_->setObjectName("tabla_eeprom");
    scrl1_ = new QScrollBar(Qt::Vertical, client_);
    scrl1_->setObjectName("scrl1");
    scrl2_ = new QScrollBar(Qt::Vertical, client_);
    scrl2_->setObjectName("scrl2");
    for (QScrollBar* bar : {scrl1_, scrl2_}) {
        bar->setRange(0, 0);
        bar->setPageStep(kViewRows);
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->installEventFilter(this);
        connect(bar, &QScrollBar::valueChanged, this, &MainWindow::scrollbarchanged);
    }
    for (MemoryDump* dump : {tabla_flash_, tabla_eeprom_}) {
        dump->setToolTip("Right click on the location to edit its value!");
        connect(dump, &MemoryDump::rightclicked, this,
                [this, dump](QPoint point) { dumprightclicked(dump, point); });
    }
    // The wheel scrolls the view the mouse last moved over; a click hands the focus to the
    // view's scroll bar, so keys move the view and never its text.
    connect(tabla_flash_, &MemoryDump::hovered, this, [this] {
        if (activeview_ == 2 && !unosbox_->isVisible()) scrl1_->setFocus();
    });
    connect(tabla_eeprom_, &MemoryDump::hovered, this, [this] {
        if (activeview_ == 1 && !unosbox_->isVisible()) scrl2_->setFocus();
    });
    connect(tabla_flash_, &MemoryDump::pressed, this, [this] { scrl1_->setFocus(); });
    connect(tabla_eeprom_, &MemoryDump::pressed, this, [this] { scrl2_->setFocus(); });

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const std::array<const char*, 2> lfixnames = {"lfix_0", "lfix_1"};
    const std::array<const char*, 2> confnames = {"label_conf_0", "label_conf_1"};
    for (int i = 0; i < 2; ++i) {
        lfix_[i] = addlabel(lfixnames[i], i == 0 ? "Config. Word (2007h)" : "Config. Word (2008h)",
                            4080, 4260 + 600 * i, 1755, 255);
        label_conf_[i] = addclicklabel(confnames[i], QString(), 4380, 4560 + 600 * i, 1215, 255);
        label_conf_[i]->setFont(fixed);
        label_conf_[i]->setAlignment(Qt::AlignCenter);
        label_conf_[i]->setToolTip("Click to edit!");
        connect(label_conf_[i], &ClickLabel::clicked, this, [this, i] { label_conf_Click(i); });
        connect(label_conf_[i], &ClickLabel::doubleclicked, this,
                [this] { label_conf_DblClick(); });
    }
    Label5_ = addlabel("Label5", "Status", 4380, 5820, 1755, 255);
    label_status_ = addelidedlabel(client_, "label_status", ElidedLabel::Cut::End, QString(), 60,
                                   6120, 6075, 255);

    unosbox_ = new QLineEdit(client_);
    unosbox_->setObjectName("unosbox");
    unosbox_->setFont(fixed);
    unosbox_->setTextMargins(0, 0, 0, 0);
    // The box sits on the view's own white: a thin border shows where the typing goes.
    unosbox_->setStyleSheet(
        "QLineEdit#unosbox { border: 1px solid palette(highlight); padding: 0; }");
    unosbox_->hide();
    unosbox_->installEventFilter(this);

    placecontrols();
}

// The views must show 8 full rows of the font really in use. When that font needs more room than
// the design gives, the views grow and everything right of or below them moves along.
void MainWindow::placecontrols() {
    const QSize flashneed = tabla_flash_->textsize(kFlashRowChars);
    const QSize eepromneed = tabla_eeprom_->textsize(kEepromRowChars);
    const QRect flash = topx(kFlashView);
    const QRect eeprom = topx(kEepromView);
    const int fdx = std::max(0, flashneed.width() - flash.width());
    const int fdy = std::max(0, flashneed.height() - flash.height());
    const int edx = std::max(0, eepromneed.width() - eeprom.width());
    const int edy = std::max(0, eepromneed.height() - eeprom.height());
    const int grow = std::max(fdx, edx);

    tabla_flash_->setGeometry(flash.adjusted(0, 0, fdx, fdy));
    scrl1_->setGeometry(twipsrect(5880, 2100, kScrollWidth, 1755).adjusted(fdx, 0, fdx, fdy));
    for (QWidget* below : std::initializer_list<QWidget*>{
             Label4_, lfix_[0], lfix_[1], label_conf_[0], label_conf_[1], Label5_, label_status_}) {
        below->move(below->x(), below->y() + fdy);
    }
    tabla_eeprom_->setGeometry(eeprom.adjusted(0, fdy, edx, fdy + edy));
    scrl2_->setGeometry(
        twipsrect(3660, 4260, kScrollWidth, 1755).adjusted(edx, fdy, edx, fdy + edy));
    for (QWidget* right : std::initializer_list<QWidget*>{lfix_[0], lfix_[1], label_conf_[0],
                                                          label_conf_[1], Label5_}) {
        right->move(right->x() + edx, right->y());
    }
    label_status_->move(label_status_->x(), label_status_->y() + edy);

    // Captions and buttons keep at least their designed size and grow to show their whole text
    // in the font in use; a button that grows pushes the ones right of it along.
    for (QLabel* caption : {static_cast<QLabel*>(Label7_), static_cast<QLabel*>(Label1_), Label3_,
                            Label4_, lfix_[0], lfix_[1], Label5_}) {
        caption->resize(std::max(caption->width(), caption->sizeHint().width()), caption->height());
    }
    label_ime_->move(std::max(label_ime_->x(), Label1_->geometry().right() + 1 + px(45)),
                     label_ime_->y());
    int right = 0;
    for (QPushButton* button : commands_) {
        button->setGeometry(std::max(button->x(), right + px(45)), button->y(),
                            std::max(button->width(), button->sizeHint().width()),
                            button->height());
        right = button->geometry().right() + 1;
    }
    int width = px(kClientWidth) + grow;
    for (const QWidget* child : client_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != unosbox_) width = std::max(width, child->geometry().right() + 1 + px(60));
    }
    for (QWidget* wide : std::initializer_list<QWidget*>{label_hex_, label_status_}) {
        wide->resize(width - 2 * px(60), wide->height());
    }
    client_->setFixedSize(width, px(kClientHeight) + fdy + edy);
    // The form has one size: a window the user could stretch would show unthemed room beside it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace qm::gui
