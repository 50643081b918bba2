#include "gui/dialogs/messagebox.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

#include "gui/app/twips.h"
#include "gui/dialogs/breaklongwords.h"
#include "gui/themes/themepaint.h"
#include "host/host.h"

namespace qm::gui {

namespace {

// The designed layout, in twips.
constexpr int kClientWidth = 6615;
constexpr int kClientHeight = 915;
constexpr int kIconLeft = 60, kIconTop = 60, kIconSize = 720;
constexpr int kTextLeft = 900, kTextTop = 120, kTextWidth = 5655, kTextHeight = 315;
constexpr int kButtonTop = 540, kButtonWidth = 855, kButtonHeight = 315;
constexpr int kOkLeft = 5700, kNoLeft = 4800;

QStyle::StandardPixmap iconfor(int type) {
    switch (type) {
        case kMsgPlain:
            return QStyle::SP_DialogApplyButton;
        case kMsgError:
            return QStyle::SP_MessageBoxCritical;
        case kMsgInfo:
            return QStyle::SP_MessageBoxInformation;
        case kMsgYesNo:
            return QStyle::SP_MessageBoxQuestion;
        default:
            return QStyle::SP_CustomBase;
    }
}

const char* iconname(int type) {
    switch (type) {
        case kMsgPlain:
            return "img_ok";
        case kMsgError:
            return "img_err";
        case kMsgInfo:
            return "img_info";
        case kMsgYesNo:
            return "img_ask";
        default:
            return "img_none";
    }
}

}  // namespace

QString tolocallines(const QString& text) {
    QString local = text;
    local.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return local;
}

MessageBox::MessageBox(QWidget* parent, const DialogContext& context, const QString& text, int type,
                       const QString& caption)
    : QDialog(parent),
      context_(context),
      msgtext_(text),
      msgtype_(msgboxkind(type)),
      defaultno_(msgtype_ == kMsgYesNo && (type & kMsgDefaultNo) != 0),
      msgresult_(msgtype_ == kMsgYesNo ? kAnswerNo : kAnswerOk) {
    setObjectName("Form08");
    setWindowTitle(context_.captionfor(caption));
    setModal(true);

    icon_ = new QLabel(this);
    icon_->setGeometry(twipsrect(kIconLeft, kIconTop, kIconSize, kIconSize));
    icon_->setAlignment(Qt::AlignCenter);

    lab_title_ = new QLabel(this);
    lab_title_->setObjectName("lab_title");
    lab_title_->setToolTip("Click to copy to Clipboard...");
    lab_title_->setWordWrap(true);
    lab_title_->setCursor(Qt::PointingHandCursor);
    lab_title_->setTextFormat(Qt::PlainText);
    lab_title_->installEventFilter(this);

    command1_ = new QPushButton("OK", this);
    command1_->setObjectName("Command1");
    command1_->setDefault(true);
    command1_->setAutoDefault(true);
    command2_ = new QPushButton("No", this);
    command2_->setObjectName("Command2");
    command2_->setAutoDefault(false);
    command2_->hide();
    connect(command1_, &QPushButton::clicked, this, &MessageBox::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &MessageBox::Command2_Click);

    settheme(context_.roles());
    prepare_display();
    if (defaultno_) {
        command1_->setDefault(false);
        command1_->setAutoDefault(false);
        command2_->setDefault(true);
        command2_->setAutoDefault(true);
    }
    (defaultno_ ? command2_ : command1_)->setFocus();
}

void MessageBox::settheme(const ColourRoles& roles) {
    paintback(this, roles.windowback);
    paintrole(lab_title_, roles.infoback, roles.infofore);
}

void MessageBox::prepare_display() {
    const double s = context_.dialogscale;
    const int buttontobottom = px(kClientHeight - kButtonTop);
    const int righttoedge = px(kClientWidth - (kTextLeft + kTextWidth));

    lab_title_->setText(tolocallines(breaklongwords(msgtext_)));
    const QRect label = twipsrect(kTextLeft, kTextTop, kTextWidth, kTextHeight);
    // The label keeps its width and takes the height of the wrapped text, plus a margin.
    const int textheight = std::max(lab_title_->heightForWidth(label.width()), 0);
    lab_title_->setGeometry(label.left(), label.top(), label.width(), textheight + px(int(60 * s)));
    lab_title_->setAlignment(msgtext_.contains(QStringLiteral("\r\n"))
                                 ? Qt::AlignLeft | Qt::AlignTop
                                 : Qt::AlignHCenter | Qt::AlignTop);

    const int buttontop = lab_title_->geometry().bottom() + 1 + px(int(105 * s));
    const int width = lab_title_->geometry().right() + 1 + righttoedge;
    const int height = buttontop + buttontobottom;
    setFixedSize(width, height);

    const int bw = px(kButtonWidth), bh = px(kButtonHeight);
    int okleft = width - px(kClientWidth - kOkLeft);
    int noleft = width - px(kClientWidth - kNoLeft);
    if (msgtype_ == kMsgYesNo) {
        command1_->setText("Yes");
        command2_->show();
        std::swap(okleft, noleft);  // "Yes" stands left of "No"
    }
    command1_->setGeometry(okleft, buttontop, bw, bh);
    command2_->setGeometry(noleft, buttontop, bw, bh);

    icon_->setObjectName(iconname(msgtype_));
    const QStyle::StandardPixmap which = iconfor(msgtype_);
    if (which != QStyle::SP_CustomBase) {
        icon_->setPixmap(style()->standardIcon(which, nullptr, this).pixmap(px(kIconSize)));
    }
    icon_->setVisible(which != QStyle::SP_CustomBase);
}

void MessageBox::Command1_Click() {
    msgresult_ = msgtype_ == kMsgYesNo ? kAnswerYes : kAnswerOk;
    accept();
}

void MessageBox::Command2_Click() {
    msgresult_ = kAnswerNo;
    done(QDialog::Rejected);
}

void MessageBox::reject() {
    // Esc and the window frame: the No button where there is one; an OK box simply closes.
    if (msgtype_ == kMsgYesNo) msgresult_ = kAnswerNo;
    QDialog::reject();
}

void MessageBox::lab_title_Click() {
    QApplication::clipboard()->setText(tolocallines(breaklongwords(msgtext_)));
}

void MessageBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_N:
            Command2_Click();
            return;
        case Qt::Key_Y:
        case Qt::Key_Z:
            Command1_Click();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

bool MessageBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lab_title_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lab_title_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

int mymsgbox(QWidget* parent, const DialogContext& context, const QString& text, int type,
             const QString& caption) {
    MessageBox box(parent, context, text, type, caption);
    box.exec();
    return box.msgresult();
}

}  // namespace qm::gui
