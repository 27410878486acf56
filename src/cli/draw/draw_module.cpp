// The module of quorvane-cli's drawing commands.
#include "cli/commands.h"
#include "cli/draw_module_api.h"
#include "common/error.h"
#include "common/safe_file.h"

#ifdef QV_HAVE_CHARTS
#include "analysis/chart/pivot_chart.h"
#include "standings/chart/standings_chart.h"
#endif

#include <QGuiApplication>
#include <QSize>
#include <QString>

namespace {

QtMessageHandler qtHandler = nullptr;

// Qt Gui looks for a runtime directory as it starts, and says so on standard
// error when there is none (under cron, or as root) or it is not the user's
// (after su). The drawing commands never use one: those lines are noise
// between a command's own messages.
void withoutRuntimeDirectoryNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const bool runtimeNote = message.startsWith(QLatin1String("QStandardPaths: ")) &&
                             (message.contains(QLatin1String("XDG_RUNTIME_DIR")) ||
                              message.contains(QLatin1String("runtime directory")));
    if (type == QtWarningMsg && runtimeNote)
        return;
    qtHandler(type, context, message);
}

} // namespace

extern "C" {

Q_DECL_EXPORT QCoreApplication* qv_draw_application(int* argc, char** argv, int charts)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(withoutRuntimeDirectoryNotes);
#ifdef QV_HAVE_CHARTS
    if (charts)
        return qv::analysis::makeChartApplication(*argc, argv).release();
#else
    Q_UNUSED(charts);
#endif
    return new QGuiApplication(*argc, argv);
}

Q_DECL_EXPORT int qv_draw_print(const QStringList* args, const qv::cli::Options* options)
{
    // The module has a StandardOutput of its own: what print wrote there is
    // flushed and checked before the program's own.
    return qv::StandardOutput::instance().finish(qv::cli::runPrint(*args, *options));
}

#ifdef QV_HAVE_CHARTS
// The chart as the workbook window shows it, at a size fit for a report.
Q_DECL_EXPORT int qv_draw_chart(const qv::analysis::PivotChartData* data, const QString* file,
                                QString* problem)
{
    try {
        qv::analysis::savePivotChart(*data, *file, QSize(1200, 700));
        return 1;
    } catch (const qv::Error& error) {
        *problem = qv::errorText(qv::ErrorLayout::Report, error);
        return 0;
    }
}

// Standings charts at the size of the pivot chart each, one above the other.
Q_DECL_EXPORT int qv_draw_standings(const qv::standings::StandingsChart* const* charts, int count, int svg,
                                    QByteArray* out)
{
    const std::vector<const qv::standings::StandingsChart*> drawn(charts, charts + count);
    *out = qv::standings::drawCharts(drawn, QSize(1200, 600), svg != 0);
    return out->isEmpty() ? 0 : 1;
}
#endif
}
