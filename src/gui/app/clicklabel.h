#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace qm::gui {

// A label that acts on a left click, as the main window's file, model and value labels do.
class ClickLabel final : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            emit clicked();
        }
        QLabel::mouseReleaseEvent(event);
    }
};

}  // namespace qm::gui
