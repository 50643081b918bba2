#include "gui/dialogs/configdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "devices/configfields.h"
#include "devices/configwords.h"
#include "gui/themes/themepaint.h"
#include "text/hextext.h"

namespace qm::gui {

namespace {

QString qtext(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ConfigDialog::ConfigDialog(QWidget* parent, const DialogContext& context, const ActiveModel& model,
                           const std::array<int32_t, 2>& words)
    : QDialog(parent), words_(words) {
    setObjectName("FormConfig");
    setWindowTitle("Configuration Word");
    setModal(true);
    paintback(this, context.roles().windowback);

    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(qtext("The configuration words of the " + model.modelname +
                                     " by their fields. OK puts them into the buffer."),
                               this);
    heading->setWordWrap(true);
    layout->addWidget(heading);
    for (const int index : describedwords(model)) addword(model, index);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("Command1");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("Command2");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    showwords();
}

void ConfigDialog::addword(const ActiveModel& model, int index) {
    const std::string address = configaddress(index);
    auto* group = new QGroupBox(qtext("Configuration word " + address), this);
    auto* form = new QFormLayout(group);
    auto* value = new QLabel(group);
    value->setObjectName(qtext("word_" + address.substr(0, 4)));
    value->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    form->addRow("Word:", value);
    wordlabels_[size_t(index)] = value;

    const int32_t word = words_[size_t(index)];
    for (const ConfigField& field : model.configfields[size_t(index)]) {
        auto* combo = new QComboBox(group);
        combo->setObjectName(qtext((index == 0 ? "combo_" : "combo2_") + field.name));
        const int32_t bits = word & field.mask;
        if (settingof(field, word) == nullptr) {
            combo->addItem(qtext(hexwordh(bits) + " - no setting has these bits"), bits);
        }
        for (const ConfigSetting& setting : field.settings) {
            combo->addItem(qtext(setting.name + " - " + setting.description), setting.value);
            if (setting.value == bits) combo->setCurrentIndex(combo->count() - 1);
        }
        form->addRow(qtext(field.name + " (" + field.title + "):"), combo);
        const FieldBox box{index, &field, combo};
        connect(combo, &QComboBox::currentIndexChanged, this, [this, box] { fieldchanged(box); });
    }
    layout()->addWidget(group);
}

void ConfigDialog::fieldchanged(const FieldBox& box) {
    int32_t& word = words_[size_t(box.word)];
    word = encodeconfig(word, *box.field, box.combo->currentData().toInt());
    showwords();
}

void ConfigDialog::showwords() {
    for (size_t i = 0; i < wordlabels_.size(); ++i) {
        if (wordlabels_[i] != nullptr) wordlabels_[i]->setText(qtext(hexwordh(words_[i])));
    }
}

}  // namespace qm::gui
