#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

#include "devices/activemodel.h"
#include "gui/dialogs/dialogcontext.h"

class QComboBox;
class QLabel;

namespace qm::gui {

// The configuration words by their named fields (objectName "FormConfig", "Configuration
// Word"): for each word the model names fields of, one combo box per field ("combo_FOSC", and
// "combo2_FOSC" for CONF2) listing its settings by name and description, and the resulting word
// in hex ("word_2007", "word_2008"), which follows every change. Bits of a field that no setting
// has are offered as they are, so an untouched field keeps them. OK hands the words back; Cancel
// and Esc change nothing.
class ConfigDialog final : public QDialog {
    Q_OBJECT
  public:
    ConfigDialog(QWidget* parent, const DialogContext& context, const ActiveModel& model,
                 const std::array<int32_t, 2>& words);

    // The words as the combo boxes have them.
    const std::array<int32_t, 2>& words() const { return words_; }

  private:
    struct FieldBox {
        int word = 0;  // 0 CONF1, 1 CONF2
        const ConfigField* field = nullptr;
        QComboBox* combo = nullptr;  // item data: the field's bits for the item
    };

    void addword(const ActiveModel& model, int index);
    void fieldchanged(const FieldBox& box);
    void showwords();

    std::array<int32_t, 2> words_;
    std::array<QLabel*, 2> wordlabels_{};
};

}  // namespace qm::gui
