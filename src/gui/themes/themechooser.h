#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <string>

#include "gui/dialogs/dialogcontext.h"
#include "settings/settingsstore.h"
#include "themes/loadtheme.h"
#include "themes/themetable.h"

class QPushButton;

namespace qm::gui {

class ChoiceGrid;

// The theme names as the chooser shows them, row by row (left, right): alphabetical, except that
// the two "Original" themes share row 17.
const std::array<const char*, kThemeCount>& chooserthemes();

// The theme chooser (objectName "Form34", "Change Color Theme"): the 46 themes as entries
// opcija_0 to opcija_45. A click applies and saves a theme at once, to this dialog and to the
// main window; Select keeps it, Cancel (or Esc) goes back to the theme in force at opening.
// Closing the window keeps the theme last clicked, which is already saved.
class ThemeChooser final : public QDialog {
    Q_OBJECT
  public:
    // applymain recolours the main window from the theme's roles.
    ThemeChooser(QWidget* parent, SettingsStore& settings, ThemeState& theme,
                 std::function<void()> applymain);

    void settheme();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void markthemes();
    void opcija_Click(int index);
    void Command1_Click();
    void Command2_Click();
    // Saves themename, reloads the roles from the setting and recolours the main window.
    void applyandsave();

    SettingsStore& settings_;
    ThemeState& theme_;
    std::function<void()> applymain_;
    std::string oldtheme_;
    ChoiceGrid* opcija_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
};

}  // namespace qm::gui
