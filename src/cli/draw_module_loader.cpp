#include "cli/draw_module_loader.h"

#include <QTextStream>

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <string>

namespace qv::cli {

namespace {

// The folder of the running program, known before any QCoreApplication is.
std::string programFolder()
{
    std::array<char, 4096> path{};
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0)
        return {};
    std::string folder(path.data(), static_cast<size_t>(length));
    return folder.substr(0, folder.rfind('/'));
}

template <typename Fn> Fn symbol(void* handle, const char* name)
{
    return reinterpret_cast<Fn>(dlsym(handle, name));
}

DrawModule load()
{
    const std::string folder = programFolder();
    for (const std::string& candidate : {folder + "/" QV_DRAW_MODULE_FILE,
                                         folder + "/" QV_DRAW_MODULE_INSTALL_DIR "/" QV_DRAW_MODULE_FILE}) {
        void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            continue;
        DrawModule module;
        module.makeApplication = symbol<QvDrawApplicationFn>(handle, QV_DRAW_APPLICATION_SYMBOL);
        module.print = symbol<QvDrawPrintFn>(handle, QV_DRAW_PRINT_SYMBOL);
        module.chart = symbol<QvDrawChartFn>(handle, QV_DRAW_CHART_SYMBOL);
        module.standings = symbol<QvDrawStandingsFn>(handle, QV_DRAW_STANDINGS_SYMBOL);
        if (module.makeApplication && module.print)
            return module;
        dlclose(handle);
    }
    return {};
}

} // namespace

const DrawModule* drawModule()
{
    static const DrawModule module = load();
    return module.makeApplication ? &module : nullptr;
}

void reportNoDrawModule()
{
    QTextStream(stderr) << "The drawing module " QV_DRAW_MODULE_FILE
                           " was not found beside quorvane-cli or in "
                        << QStringLiteral(QV_DRAW_MODULE_INSTALL_DIR) << '\n';
}

int runPrintCommand(const QStringList& args, const Options& options)
{
    const DrawModule* module = drawModule();
    if (!module) {
        reportNoDrawModule();
        return 1;
    }
    return module->print(&args, &options);
}

} // namespace qv::cli
