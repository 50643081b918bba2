#pragma once

#include <QFrame>
#include <QString>
#include <QStringList>

#include <optional>

namespace qm::gui {

// One memory view's text: eight rows of a hex dump in the system's fixed-pitch font. It never
// takes the focus (keyboard and wheel belong to its scroll bar). Where each value sits is worked
// out from the metrics of the font really in use, so a click lands on the value under the
// pointer whatever the font and the scaling.
class MemoryDump final : public QFrame {
    Q_OBJECT
  public:
    // addresschars: characters of the address and its colon ("000000:" 7, "0000:" 5);
    // valuechars: digits of one value (4 or 2).
    MemoryDump(int addresschars, int valuechars, QWidget* parent = nullptr);

    void setrows(const QStringList& rows);
    const QStringList& rows() const { return rows_; }
    // The rows joined by CR LF, as the view's text.
    QString text() const;

    // Character cell and line height of the font in use.
    int cellwidth() const;
    int lineheight() const;
    // The size that shows 8 rows of `chars` characters.
    QSize textsize(int chars) const;

    struct Cell {
        int row = 0;     // 0..7
        int column = 0;  // value column 0..7
    };
    // The value column under a point in widget coordinates: a column covers its digits and the
    // space after them. Empty on the address column, right of the last value or below row 8.
    std::optional<Cell> cellat(QPoint point) const;
    // Where the digits of a value column (with its trailing space) are drawn.
    QRect cellrect(int row, int column) const;

  signals:
    void hovered();
    void pressed();
    void rightclicked(QPoint point);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPoint textorigin() const;

    int addresschars_;
    int valuechars_;
    QStringList rows_;
};

}  // namespace qm::gui
