#include "gui/app/elidedlabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QTextDocument>

#include "buffer/shortpath.h"

namespace qm::gui {

namespace {

// A tool tip that looks like markup (a file named "<b>.hex") would be drawn as markup.
QString plaintip(const QString& text) {
    if (!Qt::mightBeRichText(text)) return text;
    return "<p style='white-space:pre'>" + text.toHtmlEscaped().replace('\n', "<br>") + "</p>";
}

}  // namespace

ElidedLabel::ElidedLabel(Cut cut, const QString& tip, QWidget* parent)
    : ClickLabel(parent), cut_(cut), tip_(tip) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setToolTip(tip_);
}

void ElidedLabel::setfulltext(const QString& text) {
    full_ = text;
    refresh();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    ClickLabel::resizeEvent(event);
    refresh();
}

void ElidedLabel::changeEvent(QEvent* event) {
    ClickLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) refresh();
}

void ElidedLabel::refresh() {
    const QString shown = fitted(contentsRect().width() - 2 * margin());
    setText(shown);
    if (shown == full_) {
        setToolTip(tip_);
    } else {
        setToolTip(plaintip(tip_.isEmpty() ? full_ : full_ + "\n" + tip_));
    }
}

QString ElidedLabel::fitted(int width) const {
    const QFontMetrics metrics = fontMetrics();
    if (metrics.horizontalAdvance(full_) <= width) return full_;
    if (cut_ == Cut::End) return metrics.elidedText(full_, Qt::ElideRight, width);

    const SplitPath parts = splitpath(full_.toStdString());
    const QString folder = QString::fromStdString(parts.folder);
    const QString name = QString::fromStdString(parts.name);
    // The folder takes what the name leaves; its two ends say most about where the file is.
    // Kerning across the cut can add a pixel, so the folder gives up more until the whole fits.
    const int minimum = metrics.horizontalAdvance(QChar(0x2026));
    for (int room = width - metrics.horizontalAdvance(name); room >= minimum; --room) {
        const QString shown = metrics.elidedText(folder, Qt::ElideMiddle, room) + name;
        if (metrics.horizontalAdvance(shown) <= width) return shown;
    }
    // A name wider than the label keeps its start and its extension.
    return metrics.elidedText(name, Qt::ElideMiddle, width);
}

}  // namespace qm::gui
