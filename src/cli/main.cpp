#include "cli/commands.h"

#include "cli/cli_application.h"
#include "cli/draw_module_loader.h"
#include "common/safe_file.h"
#include "usage/terminal_help.h"
#include "usage/usage_messages.h"

#include <QCoreApplication>
#include <QTextStream>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace usage = qv::usage;

int main(int argc, char** argv)
{
    // print and pivot --chart draw, in an application the drawing module makes.
    std::unique_ptr<QCoreApplication> application = qv::cli::drawingApplication(argc, argv);
    if (!application)
        application = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvane"));

    QStringList args = QCoreApplication::arguments().mid(1);
    qv::cli::Options options;
    QStringList rest;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (rest.isEmpty() && a == QLatin1String("--app-dir") && i + 1 < args.size()) {
            options.appDir = args[++i];
        } else if (rest.isEmpty() && a == QLatin1String("--yes")) {
            options.yes = true;
        } else {
            rest << a;
        }
    }
    const usage::ProgramUsage& program = usage::cliUsage();
    if (rest.isEmpty()) {
        QTextStream(stderr) << usage::programHelp(program);
        return usage::badCommandLine;
    }
    if (usage::helpOption().named(rest.first()))
        return usage::printOnStandardOutput(usage::programHelp(program));
    if (rest.first() == QLatin1String("--version"))
        return usage::printOnStandardOutput(QStringLiteral("quorvane-cli " QUORVANE_VERSION "\n"));
    // Only the commands the usage table describes run, so each has its help.
    const usage::CommandUsage* command = program.command(rest.first());
    if (!command) {
        QTextStream(stderr) << (rest.first().startsWith(QLatin1Char('-')) ? "Unknown option: "
                                                                          : "Unknown command: ")
                            << rest.first() << "\n"
                            << usage::programHelp(program);
        return usage::badCommandLine;
    }
    if (const std::optional<int> answered = usage::answerUsageOptions(*command, rest.mid(1)))
        return *answered;
    if (!options.appDir.isEmpty())
        qputenv("QUORVANE_HOME", options.appDir.toLocal8Bit());

    using Runner = std::function<int(const QStringList&, const qv::cli::Options&)>;
    std::map<QString, Runner> commands = {
        {QStringLiteral("sample"), qv::cli::runSample},   {QStringLiteral("sql"), qv::cli::runSql},
        {QStringLiteral("create"), qv::cli::runCreate},   {QStringLiteral("batch"), qv::cli::runBatch},
        {QStringLiteral("import"), qv::cli::runImport},   {QStringLiteral("show"), qv::cli::runShow},
        {QStringLiteral("watch"), qv::cli::runWatch},     {QStringLiteral("export"), qv::cli::runExport},
        {QStringLiteral("drop"), qv::cli::runDrop},       {QStringLiteral("query"), qv::cli::runQuery},
        {QStringLiteral("summary"), qv::cli::runSummary}, {QStringLiteral("print"), qv::cli::runPrintCommand},
        {QStringLiteral("pivot"), qv::cli::runPivot},     {QStringLiteral("compact"), qv::cli::runCompact},
    };
    commands.emplace(QStringLiteral("standings"), qv::cli::runStandings);
    commands.emplace(QStringLiteral("report"), qv::cli::runReport);
    commands.emplace(QStringLiteral("tables"), qv::cli::runTables);
    const auto it = commands.find(rest.first());
    if (it == commands.end()) {
        QTextStream(stderr) << "Unknown command: " << rest.first() << "\n";
        return usage::badCommandLine;
    }
    // Whatever the command printed is flushed, and checked, here.
    return qv::StandardOutput::instance().finish(it->second(rest.mid(1), options));
}
