#include "cli/cli_application.h"

#include "cli/draw_module_loader.h"

#include <cstring>

namespace qv::cli {

std::unique_ptr<QCoreApplication> drawingApplication(int& argc, char** argv)
{
    bool print = false, pivot = false, chart = false;
    for (int i = 1; i < argc; ++i) {
        print = print || std::strcmp(argv[i], "print") == 0;
        pivot = pivot || std::strcmp(argv[i], "pivot") == 0;
        chart = chart || (pivot && std::strcmp(argv[i], "--chart") == 0);
    }
    if (!print && !chart)
        return nullptr;
    const DrawModule* module = drawModule();
    if (!module)
        return nullptr;
    return std::unique_ptr<QCoreApplication>(module->makeApplication(&argc, argv, chart ? 1 : 0));
}

} // namespace qv::cli
