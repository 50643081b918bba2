#include "gui/app/memorydump.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>

#include "buffer/dumprows.h"

namespace qm::gui {

namespace {

constexpr int kPadding = 2;  // between the frame and the text

}  // namespace

MemoryDump::MemoryDump(int addresschars, int valuechars, QWidget* parent)
    : QFrame(parent), addresschars_(addresschars), valuechars_(valuechars) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void MemoryDump::setrows(const QStringList& rows) {
    if (rows == rows_) return;
    rows_ = rows;
    update();
}

QString MemoryDump::text() const { return rows_.join(QStringLiteral("\r\n")); }

int MemoryDump::cellwidth() const { return fontMetrics().horizontalAdvance(u'0'); }

int MemoryDump::lineheight() const { return fontMetrics().lineSpacing(); }

QSize MemoryDump::textsize(int chars) const {
    const int frame = 2 * (frameWidth() + kPadding);
    return QSize(chars * cellwidth() + frame, kViewRows * lineheight() + frame);
}

QPoint MemoryDump::textorigin() const {
    return contentsRect().topLeft() + QPoint(kPadding, kPadding);
}

std::optional<MemoryDump::Cell> MemoryDump::cellat(QPoint point) const {
    const QPoint p = point - textorigin();
    if (p.x() < 0 || p.y() < 0) return std::nullopt;
    const int pitch = (valuechars_ + 1) * cellwidth();
    const int first = (addresschars_ + 1) * cellwidth();
    if (p.x() < first) return std::nullopt;
    const int column = (p.x() - first) / pitch;
    const int row = p.y() / lineheight();
    if (column >= kRowLocations || row >= kViewRows) return std::nullopt;
    return Cell{row, column};
}

QRect MemoryDump::cellrect(int row, int column) const {
    const int pitch = (valuechars_ + 1) * cellwidth();
    const int first = (addresschars_ + 1) * cellwidth();
    return QRect(textorigin() + QPoint(first + column * pitch, row * lineheight()),
                 QSize(pitch, lineheight()));
}

void MemoryDump::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.setPen(palette().color(QPalette::Text));
    const QPoint origin = textorigin();
    const int ascent = fontMetrics().ascent();
    // Character by character on the cell grid: the font's own advance may be fractional, and
    // the hit test must find every value exactly where it is drawn.
    const int cell = cellwidth();
    for (int r = 0; r < rows_.size(); ++r) {
        const QString& row = rows_[r];
        const int baseline = origin.y() + r * lineheight() + ascent;
        for (int i = 0; i < row.size(); ++i) {
            if (row[i] != u' ')
                painter.drawText(QPoint(origin.x() + i * cell, baseline), row.mid(i, 1));
        }
    }
}

void MemoryDump::mouseMoveEvent(QMouseEvent* event) {
    emit hovered();
    QFrame::mouseMoveEvent(event);
}

void MemoryDump::mousePressEvent(QMouseEvent* event) {
    emit pressed();
    event->accept();
}

void MemoryDump::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) emit rightclicked(event->position().toPoint());
    event->accept();
}

}  // namespace qm::gui
