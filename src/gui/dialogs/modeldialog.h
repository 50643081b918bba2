#pragma once

#include <QDialog>

#include <cstdint>

#include "devices/devicemodel.h"
#include "gui/dialogs/dialogcontext.h"

class QPushButton;
class QScrollArea;

namespace qm::gui {

class ChoiceGrid;

// The model dialog (objectName "Form5", "Select Microcontroller"): every model of the device file
// by name, model i as entry opcija_i, in two columns (odd numbers left, even right) with the
// sizes as tool tip. A click highlights a model, Select confirms it, a double click does both;
// Cancel, Esc and closing the window leave the model as it was. Up to 70 models the dialog fits
// the list; a longer list scrolls in the same order, the first 70 in their places. The arrow
// keys move the highlight.
class ModelDialog final : public QDialog {
    Q_OBJECT
  public:
    ModelDialog(QWidget* parent, const DialogContext& context, const DeviceTable& devices,
                int32_t modelnumber);

    // The model highlighted now.
    int32_t modelnumber() const { return modelnumber_; }
    // The model confirmed with Select, 0 when the dialog ended any other way.
    int32_t chosen() const { return chosen_; }

    void settheme(const ColourRoles& roles);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private:
    void Form_Load(const DeviceTable& devices);
    void opcija_Click(int32_t number);
    void opcija_DblClick(int32_t number);
    void Command1_Click();
    void Command2_Click();
    void highlight();
    // The arrow keys: left and right within a row, up and down by a row.
    bool movehighlight(int key);

    DialogContext context_;
    int32_t modelnumber_;
    int32_t openingnumber_;
    int32_t chosen_ = 0;
    ChoiceGrid* opcija_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
};

}  // namespace qm::gui
