#include "gui/themes/themechooser.h"

#include <QKeyEvent>
#include <QPushButton>

#include "gui/app/clicklabel.h"
#include "gui/app/twips.h"
#include "gui/dialogs/choicegrid.h"
#include "gui/themes/themepaint.h"
#include "settings/settings.h"

namespace qm::gui {

namespace {

// The designed layout, in twips.
constexpr int kRowPitch = 300;
constexpr int kButtonGap = 105;  // from the last row's bottom to the buttons
constexpr int kCancelLeft = 2340, kSelectLeft = 3420;
constexpr int kBottomMargin = 60;

}  // namespace

const std::array<const char*, kThemeCount>& chooserthemes() {
    // One row of the dialog per line.
    // clang-format off
    static const std::array<const char*, kThemeCount> names = {
        "Amethyst",         "Arctica",
        "Baby Jeans",       "Bitter Lemon",
        "Bloods",           "Blue Martini",
        "Blueberry",        "Blueberry And Cream",
        "Blues",            "Bricks Set",
        "Bubble Gum",       "Bullfrog",
        "Citrus",           "City Night",
        "Clover",           "Coagulated",
        "Copper",           "Donatello",
        "Dymunds",          "Emerald City",
        "Fort Knox",        "Gold Rush",
        "Grapefruit",       "Grapes",
        "Halloween",        "HaXb0x",
        "Jeans",            "Love Machine",
        "Mono Dark",        "Mono Lite",
        "Night Vision",     "Peachy",
        "Popcorn",          "Powerpuff!",
        "Original Dark",    "Original Lite",
        "Owayke",           "Rain Forest",
        "Raspberry Club",   "Rosemary",
        "Sunflower",        "Toxic",
        "Uranium",          "Varsity",
        "Winamp New",       "Winamp Old"};
    // clang-format on
    return names;
}

ThemeChooser::ThemeChooser(QWidget* parent, SettingsStore& settings, ThemeState& theme,
                           std::function<void()> applymain)
    : QDialog(parent),
      settings_(settings),
      theme_(theme),
      applymain_(std::move(applymain)),
      oldtheme_(theme.themename) {
    setObjectName("Form34");
    setWindowTitle("Change Color Theme");
    setModal(true);

    QStringList captions;
    for (const char* name : chooserthemes()) captions.push_back(name);
    opcija_ = new ChoiceGrid(captions, "opcija_", 0, kRowPitch, this);
    opcija_->move(0, 0);
    connect(opcija_, &ChoiceGrid::clicked, this, &ThemeChooser::opcija_Click);

    const int buttontop = opcija_->height() + px(kButtonGap);
    const ChoiceButtons buttons = addchoicebuttons(this, buttontop, kCancelLeft, kSelectLeft);
    command1_ = buttons.select;
    command2_ = buttons.cancel;
    connect(command1_, &QPushButton::clicked, this, &ThemeChooser::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &ThemeChooser::Command2_Click);
    setFixedSize(std::max(opcija_->width(), command1_->geometry().right() + 1 + px(120)),
                 command1_->geometry().bottom() + 1 + px(kBottomMargin));

    settheme();
    markthemes();
    command1_->setFocus();
}

void ThemeChooser::settheme() { paintback(this, theme_.roles.windowback); }

void ThemeChooser::markthemes() {
    int chosen = -1;
    for (int i = 0; i < opcija_->count(); ++i) {
        if (theme_.themename == chooserthemes()[static_cast<size_t>(i)]) chosen = i;
    }
    opcija_->mark(chosen, theme_.roles);
}

void ThemeChooser::opcija_Click(int index) {
    theme_.themename = chooserthemes()[static_cast<size_t>(index)];
    savesetting(settings_, kSettingColorTheme, theme_.themename);
    loadtheme(settings_, theme_);
    settheme();
    markthemes();
    applymain_();
}

void ThemeChooser::applyandsave() {
    savesetting(settings_, kSettingColorTheme, theme_.themename);
    loadtheme(settings_, theme_);
    applymain_();
}

void ThemeChooser::Command1_Click() {
    hide();
    applyandsave();
    accept();
}

void ThemeChooser::Command2_Click() {
    theme_.themename = oldtheme_;
    hide();
    applyandsave();
    QDialog::reject();
}

void ThemeChooser::keyPressEvent(QKeyEvent* event) {
    // Esc is Cancel. The window frame goes through reject() alone and keeps the last theme.
    if (event->key() == Qt::Key_Escape) {
        Command2_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace qm::gui
