#pragma once

#include <QString>

namespace qv {

// A name from a round file is shown as the letters it has: never read as
// markup, which could load a picture from the disk or embed it in a file.
// Qt reads a text as HTML where it looks like HTML (message boxes, labels,
// tooltips: those set to plain text need nothing here), and Qt Charts reads
// every title, axis title and legend label as HTML.

// The text as HTML that shows it letter for letter: for Qt Charts' texts.
QString chartText(const QString& text);

// The text as a tooltip that shows it letter for letter, its line breaks
// kept: a tooltip is rich text whenever the text looks like markup.
QString plainToolTip(const QString& text);

} // namespace qv
