#include "gui/dialogs/inputbox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/app/twips.h"
#include "gui/dialogs/messagebox.h"
#include "gui/themes/themepaint.h"

namespace qm::gui {

namespace {

// The designed layout, in twips.
constexpr int kClientWidth = 4695;
constexpr int kClientHeight = 1335;
constexpr int kTextLeft = 120, kTextTop = 120, kTextWidth = 4455, kTextHeight = 315;
constexpr int kInputLeft = 180, kInputWidth = 4335, kInputHeight = 315;
constexpr int kButtonTop = 960, kButtonWidth = 855, kButtonHeight = 315;
constexpr int kCancelLeft = 2760, kOkLeft = 3660;

}  // namespace

InputBox::InputBox(QWidget* parent, const DialogContext& context, const QString& prompt,
                   const QString& caption, const QString& value)
    : QDialog(parent), context_(context), inputvalue_(value) {
    setObjectName("Form07");
    setWindowTitle(context_.captionfor(caption));
    setModal(true);

    lab_title_ = new QLabel(this);
    lab_title_->setObjectName("lab_title");
    lab_title_->setWordWrap(true);
    lab_title_->setTextFormat(Qt::PlainText);
    lab_title_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    txt_input_ = new QLineEdit(this);
    txt_input_->setObjectName("txt_input");

    command2_ = new QPushButton("Cancel", this);
    command2_->setObjectName("Command2");
    command2_->setAutoDefault(false);
    command1_ = new QPushButton("OK", this);
    command1_->setObjectName("Command1");
    command1_->setDefault(true);
    connect(command1_, &QPushButton::clicked, this, &InputBox::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &InputBox::Command2_Click);

    prepare_display(prompt);
    settheme(context_.roles());
    txt_input_->setFocus();
}

void InputBox::settheme(const ColourRoles& roles) {
    paintback(this, roles.filecapback);
    paintrole(lab_title_, roles.infoback, roles.infofore);
    paintrole(txt_input_, roles.valueback, roles.valuefore);
    txt_input_->selectAll();
}

void InputBox::prepare_display(const QString& prompt) {
    const double s = context_.dialogscale;
    const int buttontobottom = px(kClientHeight - kButtonTop);

    lab_title_->setText(tolocallines(prompt));
    const QRect label = twipsrect(kTextLeft, kTextTop, kTextWidth, kTextHeight);
    const int textheight = std::max(lab_title_->heightForWidth(label.width()), 0);
    lab_title_->setGeometry(label.left(), label.top(), label.width(), textheight + px(int(60 * s)));
    const int labelbottom = lab_title_->geometry().bottom() + 1;

    const int inputheight = std::max(px(kInputHeight), txt_input_->sizeHint().height());
    txt_input_->setGeometry(px(kInputLeft), labelbottom + px(int(105 * s)), px(kInputWidth),
                            inputheight);
    const int buttontop =
        std::max(labelbottom + px(int(525 * s)), txt_input_->geometry().bottom() + 1 + px(90));
    command2_->setGeometry(px(kCancelLeft), buttontop, px(kButtonWidth), px(kButtonHeight));
    command1_->setGeometry(px(kOkLeft), buttontop, px(kButtonWidth), px(kButtonHeight));
    setFixedSize(px(kClientWidth), buttontop + buttontobottom);

    txt_input_->setText(inputvalue_);
    txt_input_->selectAll();
}

void InputBox::Command1_Click() {
    inputvalue_ = txt_input_->text();
    accept();
}

void InputBox::Command2_Click() {
    inputvalue_.clear();
    QDialog::reject();
}

void InputBox::keyPressEvent(QKeyEvent* event) {
    // Esc presses Cancel. The window frame goes through reject() alone and leaves the proposed
    // value as the answer.
    if (event->key() == Qt::Key_Escape) {
        Command2_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

QString myinputbox(QWidget* parent, const DialogContext& context, const QString& prompt,
                   const QString& caption, const QString& value) {
    InputBox box(parent, context, prompt, caption, value);
    box.exec();
    return box.inputvalue();
}

}  // namespace qm::gui
