#include "gui/themes/themepaint.h"

#include <QPalette>

namespace qm::gui {

QColor rolecolour(uint32_t rgb) {
    return QColor(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}

void paintrole(QWidget* widget, uint32_t back, uint32_t fore) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, rolecolour(back));
    palette.setColor(QPalette::Base, rolecolour(back));
    palette.setColor(QPalette::WindowText, rolecolour(fore));
    palette.setColor(QPalette::Text, rolecolour(fore));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void paintback(QWidget* widget, uint32_t back) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, rolecolour(back));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace qm::gui
