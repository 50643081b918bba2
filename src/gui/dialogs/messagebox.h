#pragma once

#include <QDialog>
#include <QString>

#include "gui/dialogs/dialogcontext.h"

class QLabel;
class QPushButton;

namespace qm::gui {

// The program's own message box (objectName "Form08"): the text grows the box downward, long
// words are broken at a path separator, one of four icons, an OK button or Yes and No buttons,
// and a click on the text copies it to the clipboard. Keys: Y and Z answer like the first
// button, N answers 7, Enter presses the first button, Esc the No button (and closes an OK box).
class MessageBox final : public QDialog {
    Q_OBJECT
  public:
    MessageBox(QWidget* parent, const DialogContext& context, const QString& text, int type,
               const QString& caption);

    // 1 OK, 6 Yes, 7 No. Before an answer (the box closed through its frame): 7 for a Yes/No
    // question, so that closing it never counts as consent, and 1 otherwise.
    int msgresult() const { return msgresult_; }

    void settheme(const ColourRoles& roles);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

  private:
    void prepare_display();
    void Command1_Click();
    void Command2_Click();
    void lab_title_Click();

    DialogContext context_;
    QString msgtext_;
    int msgtype_;
    bool defaultno_;
    int msgresult_;
    QLabel* icon_ = nullptr;
    QLabel* lab_title_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
};

// The program's texts end their lines in CR LF; labels and this platform's clipboard want "\n".
QString tolocallines(const QString& text);

// Shows a modal message box and returns its answer. An empty caption means dialogcaption.
int mymsgbox(QWidget* parent, const DialogContext& context, const QString& text, int type,
             const QString& caption = QString());

}  // namespace qm::gui
