#pragma once

// The commands that draw live in a module of their own, which quorvane-cli
// loads for them alone: print lays out text with Qt Gui, pivot --chart draws
// with Qt Widgets and Qt Charts, and linking those into the program would
// make every other command pay for loading them at start-up.

#include <QStringList>

class QCoreApplication;
class QString;

namespace qv::analysis {
struct PivotChartData;
}
namespace qv::cli {
struct Options;
}

extern "C" {
// The application a drawing command needs (for charts a widgets one), with
// no screen (offscreen unless a platform is set); the caller owns it.
using QvDrawApplicationFn = QCoreApplication* (*)(int* argc, char** argv, int charts);
// quorvane-cli print: the exit code.
using QvDrawPrintFn = int (*)(const QStringList* args, const qv::cli::Options* options);
// Writes the chart as PNG, or SVG when the name ends in .svg; 1 on success,
// else 0 with the reason in problem. Absent from builds without the desktop
// program's libraries.
using QvDrawChartFn = int (*)(const qv::analysis::PivotChartData* data, const QString* file,
                              QString* problem);
}

#define QV_DRAW_APPLICATION_SYMBOL "qv_draw_application"
#define QV_DRAW_PRINT_SYMBOL "qv_draw_print"
#define QV_DRAW_CHART_SYMBOL "qv_draw_chart"
