#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace qm::gui {

// A label that acts on a left click, as the main window's file, model and value labels do, and
// on a left double click, as the model list does.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void clicked();
    void doubleclicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            emit clicked();
        }
        QLabel::mouseReleaseEvent(event);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) emit doubleclicked();
        QLabel::mouseDoubleClickEvent(event);
    }
};

}  // namespace qm::gui
