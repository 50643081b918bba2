#include "gui/app/wheelfilter.h"

#include <QWheelEvent>
#include <QWidget>

namespace qm::gui {

namespace {

constexpr int kNotch = 120;  // angle delta of one wheel notch, in eighths of a degree

}  // namespace

WheelFilter::WheelFilter(QWidget* window, std::function<void(int)> handler, QObject* parent)
    : QObject(parent), window_(window), handler_(std::move(handler)) {}

bool WheelFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != window_) return false;
    pending_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
    while (pending_ >= kNotch || pending_ <= -kNotch) {
        const int rotation = pending_ > 0 ? kNotch : -kNotch;
        pending_ -= rotation;
        handler_(rotation);
    }
    return true;
}

}  // namespace qm::gui
