#include "cli/cli_application.h"

#ifdef QV_HAVE_CHARTS
#include "analysis/chart/pivot_chart.h"
#endif

#include <cstring>

namespace qv::cli {

std::unique_ptr<QCoreApplication> chartApplication(int& argc, char** argv)
{
#ifdef QV_HAVE_CHARTS
    bool pivot = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "pivot") == 0)
            pivot = true;
        else if (pivot && std::strcmp(argv[i], "--chart") == 0)
            return analysis::makeChartApplication(argc, argv);
    }
#endif
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return nullptr;
}

} // namespace qv::cli
