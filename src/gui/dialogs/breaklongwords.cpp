#include "gui/dialogs/breaklongwords.h"

#include <QStringList>

namespace qm::gui {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Position (counted from 1) of the rightmost c within the first kLongWord characters, 0 if none.
qsizetype rightmostwithin(const QString& word, QChar c) {
    return word.left(kLongWord).lastIndexOf(c) + 1;
}

QString breakword(const QString& word) {
    if (word.size() <= kLongWord) return word;
    // Paths on this platform separate folders with '/'; a backslash still counts for paths that
    // came from elsewhere.
    qsizetype p = std::max(rightmostwithin(word, u'\\'), rightmostwithin(word, u'/'));
    if (p == 0) p = rightmostwithin(word, u'_');
    if (p == 0) return word;
    return word.left(p) + kCrLf + word.mid(p);
}

}  // namespace

QString breaklongwords(const QString& text) {
    QString body = text;
    if (body.endsWith(kCrLf)) body.chop(2);
    QStringList lines = body.split(kCrLf);
    for (QString& line : lines) {
        QStringList words = line.split(u' ');
        for (QString& word : words) word = breakword(word);
        line = words.join(u' ');
    }
    return lines.join(kCrLf);
}

}  // namespace qm::gui
