#pragma once

#include <QDialog>
#include <QString>

#include "gui/dialogs/dialogcontext.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qm::gui {

// The program's own input box (objectName "Form07"): a prompt that grows the box downward, a
// text field holding the proposed value (selected, so typing replaces it), OK and Cancel. Enter
// in the field confirms.
class InputBox final : public QDialog {
    Q_OBJECT
  public:
    InputBox(QWidget* parent, const DialogContext& context, const QString& prompt,
             const QString& caption, const QString& value);

    // The text entered after OK, empty after Cancel, the proposed value when the box was closed
    // any other way.
    const QString& inputvalue() const { return inputvalue_; }

    void settheme(const ColourRoles& roles);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void prepare_display(const QString& prompt);
    void Command1_Click();
    void Command2_Click();

    DialogContext context_;
    QString inputvalue_;
    QLabel* lab_title_ = nullptr;
    QLineEdit* txt_input_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
};

// Shows a modal input box and returns the answer (empty after Cancel). An empty caption means
// dialogcaption.
QString myinputbox(QWidget* parent, const DialogContext& context, const QString& prompt,
                   const QString& caption, const QString& value);

}  // namespace qm::gui
