#pragma once

#include "cli/draw_module_api.h"

namespace qv::cli {

// The drawing module's entry points, loaded on first use from beside the
// program (its build folder) or the library folder it is installed to; null
// when it cannot be loaded. `chart` and `standings` are null in builds
// without charts.
struct DrawModule {
    QvDrawApplicationFn makeApplication = nullptr;
    QvDrawPrintFn print = nullptr;
    QvDrawChartFn chart = nullptr;
    QvDrawStandingsFn standings = nullptr;
};
const DrawModule* drawModule();

// Says on standard error that a drawing command cannot run.
void reportNoDrawModule();

// quorvane-cli print, run by the module.
int runPrintCommand(const QStringList& args, const Options& options);

} // namespace qv::cli
