// The message box and the input box.
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/dialogs/breaklongwords.h"
#include "gui/dialogs/inputbox.h"
#include "gui/dialogs/messagebox.h"
#include "guirig.h"

namespace qm::gui::test {
namespace {

TEST(GuiMessageBox, BreakLongWordsAtTheLastSeparatorWithinFiftyFiveCharacters) {
    const QString folders = "C:\\projects\\firmware\\releases\\2024\\board_rev_c\\";  // 45
    const QString unix = "/home/user/projects/firmware/releases/2024/rev_c/";         // 49
    const QString underscored = QString(39, u'a') + "_" + QString(30, u'b');          // 70
    const struct {
        QString text;
        QString expected;
    } cases[] = {
        {folders + "blink628a_final.hex", folders + "\r\nblink628a_final.hex"},
        {unix + "blink628a_final.hex", unix + "\r\nblink628a_final.hex"},
        {underscored, QString(39, u'a') + "_\r\n" + QString(30, u'b')},
        {QString(70, u'x'), QString(70, u'x')},        // nowhere to break
        {"short words stay\r\n", "short words stay"},  // one final line end dropped
        {"open " + QString(60, u'a') + "\\" + QString(60, u'b'),
         "open " + QString(60, u'a') + "\\" + QString(60, u'b')},  // separator past 55
    };
    for (const auto& c : cases)
        EXPECT_EQ(breaklongwords(c.text), c.expected) << c.text.toStdString();
}

// Shows a box and answers it with one key.
int answerwithkey(int type, Qt::Key key) {
    whenmodal<MessageBox>([key](MessageBox* box) { QTest::keyClick(box, key); });
    return mymsgbox(nullptr, DialogContext{}, "Overwrite?", type);
}

TEST(GuiMessageBox, KeysAnswerYesNoAndOkBoxes) {
    const struct {
        int type;
        Qt::Key key;
        int answer;
    } cases[] = {
        {kMsgYesNo, Qt::Key_Y, kAnswerYes},     {kMsgYesNo, Qt::Key_Z, kAnswerYes},
        {kMsgYesNo, Qt::Key_N, kAnswerNo},      {kMsgYesNo, Qt::Key_Return, kAnswerYes},
        {kMsgYesNo, Qt::Key_Escape, kAnswerNo}, {kMsgError, Qt::Key_Return, kAnswerOk},
        {kMsgPlain, Qt::Key_Y, kAnswerOk},      {kMsgInfo, Qt::Key_N, kAnswerNo},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(answerwithkey(c.type, c.key), c.answer) << c.type << " key " << c.key;
    }

    // Closed through the window frame, a question never counts as consent.
    whenmodal<MessageBox>([](MessageBox* box) { box->close(); });
    EXPECT_EQ(mymsgbox(nullptr, DialogContext{}, "Overwrite?", kMsgYesNo), kAnswerNo);
}

TEST(GuiMessageBox, ShowsIconButtonsAndCopiesItsTextOnAClick) {
    QString title, icon, yes, no, copied;
    bool centred = false;
    whenmodal<MessageBox>([&](MessageBox* box) {
        title = box->windowTitle();
        for (const char* name : {"img_ok", "img_err", "img_info", "img_ask"}) {
            if (auto* label = box->findChild<QLabel*>(name); label && label->isVisible())
                icon = name;
        }
        auto* first = box->findChild<QPushButton*>("Command1");
        auto* second = box->findChild<QPushButton*>("Command2");
        yes = first->text();
        no = second->isVisible() ? second->text() : QString();
        EXPECT_LT(first->x(), second->x());
        auto* text = box->findChild<QLabel*>("lab_title");
        centred = text->alignment() & Qt::AlignHCenter;
        QTest::mouseClick(text, Qt::LeftButton);
        copied = QApplication::clipboard()->text();
        box->close();
    });
    const QString path = "/srv/" + QString(50, u'p') + "/x.hex";
    mymsgbox(nullptr, DialogContext{}, "Overwrite " + path + "?", kMsgYesNo);
    EXPECT_EQ(title, "Quellmark");
    EXPECT_EQ(icon, "img_ask");
    EXPECT_EQ(yes, "Yes");
    EXPECT_EQ(no, "No");
    EXPECT_TRUE(centred);
    EXPECT_EQ(copied, "Overwrite /srv/\n" + QString(50, u'p') + "/x.hex?");
}

TEST(GuiInputBox, OkGivesTheTextCancelNothingAndTheFrameTheProposal) {
    const auto ask = [](std::function<void(InputBox*)> action) {
        whenmodal<InputBox>(action);
        return myinputbox(nullptr, DialogContext{}, "Line one\r\nline two", "", "7");
    };
    EXPECT_EQ(ask([](InputBox* box) { box->findChild<QPushButton*>("Command1")->click(); }), "7");
    EXPECT_EQ(ask([](InputBox* box) {
                  QTest::keyClicks(box->findChild<QLineEdit*>("txt_input"), "12");
                  QTest::keyClick(box->findChild<QLineEdit*>("txt_input"), Qt::Key_Return);
              }),
              "12");  // typing replaces the proposal
    EXPECT_EQ(ask([](InputBox* box) {
                  QTest::keyClicks(box->findChild<QLineEdit*>("txt_input"), "12");
                  QTest::keyClick(box, Qt::Key_Escape);
              }),
              "");
    EXPECT_EQ(ask([](InputBox* box) { box->close(); }), "7");

    // A longer prompt makes the box taller by as much as it moves the field down.
    InputBox one(nullptr, DialogContext{}, "One line", "", "");
    InputBox three(nullptr, DialogContext{}, "One\r\ntwo\r\nthree", "", "");
    const int grown = three.height() - one.height();
    EXPECT_GT(grown, 0);
    EXPECT_EQ(
        three.findChild<QLineEdit*>("txt_input")->y() - one.findChild<QLineEdit*>("txt_input")->y(),
        grown);
    EXPECT_EQ(three.width(), one.width());
    EXPECT_EQ(three.windowTitle(), "Quellmark");
}

}  // namespace
}  // namespace qm::gui::test
