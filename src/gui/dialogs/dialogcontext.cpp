#include "gui/dialogs/dialogcontext.h"

#include "themes/themetable.h"

namespace qm::gui {

ColourRoles DialogContext::roles() const {
    if (theme != nullptr) return theme->roles;
    return findtheme(kThemeOriginalLite)->roles;
}

}  // namespace qm::gui
