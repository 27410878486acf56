#pragma once

#include "store/row_source.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace qv {
class ByteSink;
}

namespace qv::grid {

// What a text export writes: the field names, then the rows as the grid
// shows them. cell(row, column) counts both from 0.
struct TabRows {
    QStringList header;
    int rowCount = 0;
    int columnCount = 0;
    std::function<QString(int row, int column)> cell;
};

// A cell's text made safe for one line: a TAB becomes a blank, and so does a
// line break (CR LF, CR or LF), so every row stays one line.
QString oneLineCell(const QString& text);

// Writes the header line and one line per row, cells TAB-separated, every
// line ended by CR LF, as UTF-8, each write checked.
void writeTabText(ByteSink& out, const TabRows& rows);
// The same for rows read as they are written (the values as the grid shows
// them, straight from the engine's), in the writer's 64 KiB pieces.
void writeTabText(ByteSink& out, store::RowSource& rows);

// Writes the export through SafeFile: a failure leaves any old file as it
// was. Throws Error 76 when the folder does not exist, 61 when the disk is
// full, 75 when the file cannot be written otherwise.
void exportTabFile(const QString& path, const TabRows& rows);

} // namespace qv::grid
