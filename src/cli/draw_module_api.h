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
namespace qv::standings {
struct StandingsChart;
}
class QByteArray;

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
// Draws standings charts one above the other into *out, as SVG when svg is
// 1, else PNG; 1 on success. Absent, as the pivot chart, without charts.
using QvDrawStandingsFn = int (*)(const qv::standings::StandingsChart* const* charts, int count, int svg,
                                  QByteArray* out);
}

#define QV_DRAW_APPLICATION_SYMBOL "qv_draw_application"
#define QV_DRAW_PRINT_SYMBOL "qv_draw_print"
#define QV_DRAW_CHART_SYMBOL "qv_draw_chart"
#define QV_DRAW_STANDINGS_SYMBOL "qv_draw_standings"
