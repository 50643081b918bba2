#pragma once

#include <QString>

namespace qm::gui {

// The longest word the message box shows on one line.
inline constexpr int kLongWord = 55;

// The message box's text with over-long words broken: one CR LF at the end is dropped; a word
// (between single spaces) longer than 55 characters is broken once, after its rightmost
// backslash or slash within the first 55 characters, or failing that its rightmost underscore
// there. Line ends are CR LF.
QString breaklongwords(const QString& text);

}  // namespace qm::gui
