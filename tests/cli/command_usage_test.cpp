// Every command answers -h and --help with its usage on standard output, and
// an option it does not take with the same usage on standard error; the
// program's own help lists exactly these commands, each with a section in the
// HTML help.
#include "support/cli_run.h"
#include "usage/argument_check.h"
#include "usage/program_usage.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace qv::test {
namespace {

const QStringList allCommands = {
    QStringLiteral("sample"),  QStringLiteral("sql"),       QStringLiteral("create"),
    QStringLiteral("batch"),   QStringLiteral("import"),    QStringLiteral("show"),
    QStringLiteral("watch"),   QStringLiteral("export"),    QStringLiteral("drop"),
    QStringLiteral("query"),   QStringLiteral("summary"),   QStringLiteral("print"),
    QStringLiteral("pivot"),   QStringLiteral("standings"), QStringLiteral("report"),
    QStringLiteral("compact"), QStringLiteral("tables")};

TEST(CommandUsage, EveryCommandAnswersHelpAndRefusesAnUnknownOption)
{
    for (const QString& command : allCommands) {
        SCOPED_TRACE(command.toStdString());
        const CliRun help = runCli({command, QStringLiteral("--help")});
        EXPECT_EQ(help.code, 0);
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: quorvane-cli ") + command + QLatin1Char(' ')))
            << help.out.toStdString();
        EXPECT_TRUE(help.out.contains(QStringLiteral("\n  -h, --help ")));
        EXPECT_EQ(help.err, QString());
        for (const QString& line : help.out.split(QLatin1Char('\n')))
            EXPECT_LE(line.size(), 79) << line.toStdString();

        // -h anywhere among the arguments, even after one the command would refuse.
        const CliRun shortHelp = runCli({command, QStringLiteral("Auction5.mdb"), QStringLiteral("-h")});
        EXPECT_EQ(shortHelp.code, 0);
        EXPECT_EQ(shortHelp.out, help.out);

        const CliRun unknown = runCli({command, QStringLiteral("Auction5.mdb"), QStringLiteral("--colour")});
        EXPECT_EQ(unknown.code, 2);
        EXPECT_EQ(unknown.out, QString());
        EXPECT_EQ(unknown.err, QStringLiteral("quorvane-cli ") + command +
                                   QStringLiteral(": unknown option --colour\n") + help.out);
    }
}

TEST(CommandUsage, TheProgramsHelpListsEveryCommandAndTheHtmlHelpHasEach)
{
    const CliRun help = runCli({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.err, QString());
    const QString commandList =
        help.out.section(QStringLiteral("\nCommands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    QStringList listed;
    static const QRegularExpression commandLine(QStringLiteral("^  ([a-z]+) "),
                                                QRegularExpression::MultilineOption);
    for (auto match = commandLine.globalMatch(commandList); match.hasNext();) {
        const QString name = match.next().captured(1);
        if (!listed.contains(name))
            listed << name;
    }
    EXPECT_EQ(listed, allCommands);

    QFile page(QStringLiteral(QV_FIXTURES_DIR "/../../docs/help/command-line.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    for (const QString& command : allCommands)
        EXPECT_TRUE(html.contains(QStringLiteral("<h2 id=\"") + command + QStringLiteral("\">")))
            << command.toStdString();

    const CliRun bare = runCli({});
    EXPECT_EQ(bare.code, 2);
    EXPECT_EQ(bare.out, QString());
    EXPECT_EQ(bare.err, help.out);
    const CliRun unknown = runCli({QStringLiteral("--yes"), QStringLiteral("shw")});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_TRUE(unknown.err.startsWith(QStringLiteral("Unknown command: shw\n")))
        << unknown.err.toStdString();
    const CliRun version = runCli({QStringLiteral("--version")});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, QStringLiteral("quorvane-cli " QUORVANE_VERSION "\n"));
}

// The check walks past each option's value: a value is never taken for
// -h or for an option.
TEST(CommandUsage, OptionValuesAreNotOptions)
{
    using Outcome = usage::ArgumentCheck::Outcome;
    struct Case {
        const char* command;
        QStringList args;
        Outcome outcome;
        const char* option;
    };
    const Case cases[] = {
        {"export",
         {QStringLiteral("DB"), QStringLiteral("T"), QStringLiteral("--filter"), QStringLiteral("-h")},
         Outcome::Run,
         ""},
        {"export",
         {QStringLiteral("DB"), QStringLiteral("-o"), QStringLiteral("--x"), QStringLiteral("--y")},
         Outcome::UnknownOption,
         "--y"},
        {"print",
         {QStringLiteral("DB"), QStringLiteral("--output"), QStringLiteral("-a.pdf")},
         Outcome::Run,
         ""},
        {"print", {QStringLiteral("--landscape"), QStringLiteral("-h")}, Outcome::Help, ""},
        {"drop", {QStringLiteral("--bogus"), QStringLiteral("--help")}, Outcome::Help, ""},
        {"show", {QStringLiteral("DB"), QStringLiteral("-"), QStringLiteral("3")}, Outcome::Run, ""},
        {"standings", {QStringLiteral("DB"), QStringLiteral("--by")}, Outcome::Run, ""},
        {"standings", {QStringLiteral("DB"), QStringLiteral("-3")}, Outcome::UnknownOption, "-3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2")
                         .arg(QLatin1String(c.command), c.args.join(QLatin1Char(' ')))
                         .toStdString());
        const usage::CommandUsage* command = usage::cliUsage().command(QString::fromLatin1(c.command));
        ASSERT_NE(command, nullptr);
        const usage::ArgumentCheck check = usage::checkArguments(*command, c.args);
        EXPECT_EQ(check.outcome, c.outcome);
        EXPECT_EQ(check.option, QLatin1String(c.option));
    }
}

} // namespace
} // namespace qv::test
