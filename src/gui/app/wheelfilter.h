#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace qm::gui {

// Turns every wheel event aimed at one window into calls of a handler, one per notch
// (rotation > 0: away from the user). High-resolution wheels and touchpads send parts of a notch;
// they are added up until a whole notch is reached. The wheel events themselves are consumed.
class WheelFilter final : public QObject {
    Q_OBJECT
  public:
    WheelFilter(QWidget* window, std::function<void(int rotation)> handler,
                QObject* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
    std::function<void(int)> handler_;
    int pending_ = 0;
};

}  // namespace qm::gui
