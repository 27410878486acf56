#pragma once

#include <QtGlobal>
#include <qnamespace.h>

namespace qv {

// How the n-th line of a chart is drawn: twelve colours that stay apart on a
// white background, then the same twelve again dashed, dotted and so on, so
// that no two of the first sixty lines look alike. Every chart of the program
// takes its lines from here.
struct ChartStroke {
    quint32 rgb = 0; // 0xRRGGBB
    Qt::PenStyle style = Qt::SolidLine;
};

inline constexpr int chartPaletteColours = 12;

ChartStroke chartStroke(int index);

} // namespace qv
