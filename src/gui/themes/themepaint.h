#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>

namespace qm::gui {

// A colour role's 0xRRGGBB value as a QColor.
QColor rolecolour(uint32_t rgb);

// Gives a widget a theme's background and text colour. The background is filled by the widget
// itself, so a label shows it too.
void paintrole(QWidget* widget, uint32_t back, uint32_t fore);

// Only the background (a window or a dialog).
void paintback(QWidget* widget, uint32_t back);

}  // namespace qm::gui
