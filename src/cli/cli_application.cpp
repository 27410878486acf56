#include "cli/cli_application.h"

#include "cli/draw_module_loader.h"

#include <cstring>

namespace qv::cli {

std::unique_ptr<QCoreApplication> drawingApplication(int& argc, char** argv)
{
    // The command word follows the options common to every command.
    int command = 1;
    while (command < argc) {
        if (std::strcmp(argv[command], "--app-dir") == 0)
            command += 2;
        else if (std::strcmp(argv[command], "--yes") == 0)
            ++command;
        else
            break;
    }
    if (command >= argc)
        return nullptr;
    const bool print = std::strcmp(argv[command], "print") == 0;
    // The round report always has charts; pivot and standings draw one when asked.
    bool chart = std::strcmp(argv[command], "report") == 0;
    if (std::strcmp(argv[command], "pivot") == 0 || std::strcmp(argv[command], "standings") == 0) {
        for (int i = command + 1; i < argc; ++i)
            chart = chart || std::strcmp(argv[i], "--chart") == 0;
    }
    if (!print && !chart)
        return nullptr;
    const DrawModule* module = drawModule();
    if (!module)
        return nullptr;
    return std::unique_ptr<QCoreApplication>(module->makeApplication(&argc, argv, chart ? 1 : 0));
}

} // namespace qv::cli
