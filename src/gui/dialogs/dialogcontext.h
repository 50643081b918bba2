#pragma once

#include <QString>

#include "themes/loadtheme.h"

namespace qm::gui {

// The start-up values every dialog reads: the caption used when a caller gives none, the layout
// factor of the fixed spacings, and the program's current theme.
struct DialogContext {
    QString dialogcaption = QStringLiteral("Quellmark");
    double dialogscale = 1.0;
    const ThemeState* theme = nullptr;  // nullptr: the designed colours ("Original Lite")

    // The caption to show for a caller's caption.
    QString captionfor(const QString& caption) const {
        return caption.isEmpty() ? dialogcaption : caption;
    }
    ColourRoles roles() const;
};

}  // namespace qm::gui
