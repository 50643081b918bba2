#pragma once

#include <QRect>

namespace qm::gui {

// Window geometry is designed in twips; 15 of them make one device-independent pixel (96 dpi).
// Qt's high-DPI scaling takes it from there.
inline constexpr int kTwipsPerPixel = 15;

constexpr int px(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

inline QRect twipsrect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

}  // namespace qm::gui
