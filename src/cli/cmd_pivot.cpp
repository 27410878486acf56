#include "cli/chart_file.h"
#include "cli/commands.h"
#include "cli/pivot_output.h"
#include "cli/terminal_prompter.h"

#include "analysis/core/analysis_dialogs.h"
#include "analysis/core/pivot_analysis.h"
#include "analysis/core/pivot_table.h"
#include "analysis/core/pivot_text.h"
#include "analysis/core/workbook.h"
#include "analysis/core/xlsx_writer.h"
#include "common/error.h"
#include "store/auction_schema.h"
#include "store/database.h"

#include "analysis/core/pivot_chart_data.h"
#include "cli/draw_module_loader.h"
#include "usage/usage_messages.h"

#include <QRegularExpression>
#include <QTextStream>

namespace qv::cli {

namespace {

int usageError()
{
    return usage::usageError("pivot");
}

// The dialogs answered from the command line: the round range once (a second
// showing, after a range was refused, is a cancel), and the names given with
// --select (every name offered when none was given).
class CommandLineDialogs : public analysis::AnalysisDialogs {
public:
    CommandLineDialogs(QString from, QString to, bool net, QStringList select)
        : from_(std::move(from)), to_(std::move(to)), net_(net), select_(std::move(select))
    {
    }

    void showRounds() override { cancelled_ = shown_++ > 0; }
    bool roundsCancelled() const override { return cancelled_; }
    QString fromText() const override { return from_; }
    QString toText() const override { return to_; }
    bool grossSelected() const override { return !net_; }
    void unloadRounds() override {}

    void fillCriteria(const QStringList& items, const QString&) override { items_ = items; }
    void showCriteria() override {}
    bool criteriaCancelled() const override { return false; }
    QStringList selectedCriteria() const override
    {
        if (select_.isEmpty())
            return items_;
        QStringList chosen;
        for (const QString& item : items_) {
            if (select_.contains(item))
                chosen << item;
        }
        return chosen;
    }
    QStringList unknownNames() const
    {
        QStringList unknown;
        for (const QString& name : select_) {
            if (!items_.contains(name))
                unknown << name;
        }
        return unknown;
    }

    void openProgress(double, const QString&) override {}
    void setProgress(double) override {}
    void closeProgress() override {}

private:
    QString from_;
    QString to_;
    bool net_;
    QStringList select_;
    QStringList items_;
    int shown_ = 0;
    bool cancelled_ = false;
};

// The chart as the workbook window shows it, drawn by the drawing module in
// the widgets application main() made for --chart.
bool writeChart(const analysis::PivotResult& pivot, const QString& file)
{
    const DrawModule* module = drawModule();
    if (!module) {
        reportNoDrawModule();
        return false;
    }
    if (!module->chart) {
        QTextStream(stderr) << "This build has no charts; " << file << " was not written\n";
        return false;
    }
    const analysis::PivotChartData data = analysis::pivotChartData(pivot);
    QString problem;
    if (module->chart(&data, &file, &problem))
        return true;
    QTextStream(stderr) << "Could not write the chart to " << file << ": " << problem << '\n';
    return false;
}

} // namespace

int runPivot(const QStringList& given, const Options& options)
{
    QStringList args = given;
    std::optional<OutputFormat> format;
    if (!takeFormatOption(args, format))
        return usageError();
    if (args.size() < 2)
        return usageError();
    const QString path = args[0];
    std::optional<analysis::AnalysisKind> kind;
    for (auto k :
         {analysis::AnalysisKind::Markets, analysis::AnalysisKind::Bidders, analysis::AnalysisKind::Rounds}) {
        if (args[1] == QLatin1String(analysis::profileOf(k).commandName))
            kind = k;
    }
    if (!kind)
        return usageError();
    QString from;
    QString to;
    bool net = false;
    bool tsv = false;
    QString output;
    QString chart;
    QStringList select;
    // The round fields take up to four digits, as the dialog's do.
    static const QRegularExpression digits(QStringLiteral("^\\d{1,4}$"));
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--from") && hasValue) {
            from = args[++i];
        } else if (a == QLatin1String("--to") && hasValue) {
            to = args[++i];
        } else if (a == QLatin1String("--select") && hasValue) {
            select << args[++i];
        } else if (a == QLatin1String("-o") && hasValue) {
            output = args[++i];
        } else if (a == QLatin1String("--chart") && hasValue) {
            chart = args[++i];
        } else if (a == QLatin1String("--net")) {
            net = true;
        } else if (a == QLatin1String("--tsv")) {
            tsv = true;
        } else {
            return usageError();
        }
    }
    if (!digits.match(from).hasMatch() || (!to.isEmpty() && !digits.match(to).hasMatch()))
        return usageError();
    if (!chart.isEmpty() && !isChartFileName(chart))
        return usage::usageError("pivot", chartFileProblem(QStringLiteral("--chart"), chart));

    StandardOutput& out = StandardOutput::instance();
    TerminalPrompter prompter(options.yes, {});
    CommandLineDialogs dialogs(from, to, net, select);
    analysis::WorkbookModel workbooks;
    try {
        auto database = store::Database::open(path);
        // An auction made before the analyses' join had its index gets it
        // here, as the desktop program's open gives it; it only speeds up.
        try {
            store::schema::ensureRoundIndexes(*database);
        } catch (const Error&) {
        }
        analysis::AnalysisHost host{
            [&database]() -> store::Database& { return *database; }, dialogs, prompter,
            [&workbooks]() -> analysis::SpreadsheetApplication& { return workbooks; }};
        const analysis::AnalysisOutcome outcome = runPivotAnalysis(*kind, host);
        for (const QString& name : dialogs.unknownNames())
            QTextStream(stderr) << "Not offered for rounds " << from << " to " << (to.isEmpty() ? from : to)
                                << ": " << name << '\n';
        if (outcome != analysis::AnalysisOutcome::Built) {
            if (outcome == analysis::AnalysisOutcome::Ended)
                QTextStream(stderr) << "No pivot table was made\n";
            return 1;
        }
        const analysis::Workbook& book = workbooks.workbook(0);
        if (!output.isEmpty())
            analysis::writeXlsx(book, output);
        const analysis::PivotResult pivot = analysis::computePivot(book, book.pivots.front());
        if (!chart.isEmpty() && !writeChart(pivot, chart))
            return 1;
        if (format && *format != OutputFormat::Tsv) {
            writePivotTable(out, pivot, *format);
        } else if (tsv || format) {
            analysis::writePivotTsv(out, pivot);
        } else if (output.isEmpty() && chart.isEmpty()) {
            out.write(QStringLiteral("%1: %2 bids, %3 rounds, %4 columns\n")
                          .arg(pivot.dataCaption)
                          .arg(book.sheets.front().rowCount() - 1)
                          .arg(pivot.rowCount())
                          .arg(pivot.columnCount()));
        }
        return prompter.sawError() ? 1 : 0;
    } catch (const Error& error) {
        out.reportError(errorText(ErrorLayout::Report, error));
        return 1;
    }
}

} // namespace qv::cli
