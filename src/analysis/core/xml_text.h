#pragma once

#include <QByteArray>
#include <QString>

namespace qv::analysis {

// A text for an XML attribute or element: markup characters escaped, and the
// control characters XML cannot hold left out.
QByteArray xmlEscaped(const QString& text);

// A text as a cell or a pivot item of an .xlsx holds it: the characters XML
// cannot hold (control characters but TAB and line feed, U+FFFE, U+FFFF, a
// lone surrogate) written as the format's "_xHHHH_", an underscore that would
// read as the start of one written "_x005F_", then escaped as XML. Readers
// get back the text as it was.
QByteArray xlsxText(const QString& text);

// A number as a cell or cache value: integers without a point, others with
// the digits a double needs.
QByteArray xmlNumber(double value);

// "B7" for row 7, column 2 (both from 1).
QByteArray cellReference(int row, int column);

// The same, appended to a part being written: a sheet has hundreds of
// thousands of cells, and a text made for each one costs more than the rest.
void appendCellReference(QByteArray& xml, int row, int column);
void appendInteger(QByteArray& xml, qint64 value);
void appendXmlNumber(QByteArray& xml, double value);

inline constexpr char XmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
inline constexpr char MainNamespace[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr char RelationshipNamespace[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

} // namespace qv::analysis
