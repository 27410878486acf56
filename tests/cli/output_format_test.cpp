#include "support/temp_dir.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace qv::test;

namespace {

QString cli(const QStringList& args, int* code = nullptr)
{
    QProcess p;
    p.start(QStringLiteral(QV_CLI_PATH), args);
    p.waitForFinished(120000);
    if (code != nullptr)
        *code = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Reads text with Python's own csv or json module and prints what it got as
// JSON lists of [type name, value] pairs, one row a line.
QString parsedByPython(const QString& format, const QString& text)
{
    const QString script = QStringLiteral(R"(
import csv, io, json, sys
data = sys.stdin.buffer.read().decode('utf-8')
if sys.argv[1] == 'csv':
    rows = list(csv.reader(io.StringIO(data, newline='')))
    for r in rows: print(json.dumps([['str', v] for v in r], ensure_ascii=False))
else:
    rows = json.loads(data)
    for r in rows: print(json.dumps([[type(v).__name__, k, v] for k, v in r.items()], ensure_ascii=False))
)");
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, format});
    python.write(text.toUtf8());
    python.closeWriteChannel();
    python.waitForFinished(30000);
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QString::fromUtf8(python.readAllStandardOutput());
}

struct OddTable {
    TempDir app, files;
    QString db = app.file(QStringLiteral("Auction5.mdb"));

    OddTable()
    {
        cli({QStringLiteral("sample"), files.path(), QStringLiteral("--rounds"), QStringLiteral("1"),
             QStringLiteral("--licenses"), QStringLiteral("4"), QStringLiteral("--bidders"),
             QStringLiteral("2")});
        cli({QStringLiteral("--app-dir"), app.path(), QStringLiteral("create"),
             files.file(QStringLiteral("05_001.zip"))});
        sql(QStringLiteral("CREATE TABLE [Odd] ([Name, \"quoted\"] TEXT(50), [Amount] DOUBLE, [Count] LONG, "
                           "[When] DATETIME)"));
        sql(QStringLiteral("INSERT INTO [Odd] VALUES ('a, \"b\"', 0.1, 3000000000, #2026-12-07 10:30:00#)"));
        sql(QStringLiteral("INSERT INTO [Odd] VALUES ('two\nlines', -2.5, 0, #2026-01-12#)"));
        sql(QStringLiteral("INSERT INTO [Odd] VALUES ('Zürich', Null, Null, Null)"));
    }
    void sql(const QString& statement)
    {
        int code = 0;
        cli({QStringLiteral("sql"), db, statement}, &code);
        ASSERT_EQ(code, 0) << statement.toStdString();
    }
};

} // namespace

TEST(OutputFormats, CsvReadsBackWithPythonsCsvModule)
{
    OddTable t;
    const QString out = cli({QStringLiteral("sql"), t.db, QStringLiteral("SELECT * FROM [Odd]"),
                             QStringLiteral("--format"), QStringLiteral("csv")});
    EXPECT_EQ(
        parsedByPython(QStringLiteral("csv"), out),
        QStringLiteral("[[\"str\", \"Name, \\\"quoted\\\"\"], [\"str\", \"Amount\"], [\"str\", \"Count\"], "
                       "[\"str\", \"When\"]]\n"
                       "[[\"str\", \"a, \\\"b\\\"\"], [\"str\", \"0.1\"], [\"str\", \"3000000000\"], "
                       "[\"str\", \"2026-12-07 10:30:00\"]]\n"
                       "[[\"str\", \"two\\nlines\"], [\"str\", \"-2.5\"], [\"str\", \"0\"], "
                       "[\"str\", \"2026-01-12\"]]\n"
                       "[[\"str\", \"Zürich\"], [\"str\", \"\"], [\"str\", \"\"], [\"str\", \"\"]]\n"));
    EXPECT_TRUE(out.endsWith(QStringLiteral("\r\n"))); // RFC 4180 line ends
}

TEST(OutputFormats, JsonHasOneObjectPerRowWithTypedValues)
{
    OddTable t;
    const QString out = cli({QStringLiteral("sql"), t.db, QStringLiteral("SELECT * FROM [Odd]"),
                             QStringLiteral("--format"), QStringLiteral("json")});
    EXPECT_EQ(parsedByPython(QStringLiteral("json"), out),
              QStringLiteral(
                  "[[\"str\", \"Name, \\\"quoted\\\"\", \"a, \\\"b\\\"\"], [\"float\", \"Amount\", 0.1], "
                  "[\"int\", \"Count\", 3000000000], [\"str\", \"When\", \"2026-12-07T10:30:00\"]]\n"
                  "[[\"str\", \"Name, \\\"quoted\\\"\", \"two\\nlines\"], [\"float\", \"Amount\", -2.5], "
                  "[\"int\", \"Count\", 0], [\"str\", \"When\", \"2026-01-12\"]]\n"
                  "[[\"str\", \"Name, \\\"quoted\\\"\", \"Zürich\"], [\"NoneType\", \"Amount\", null], "
                  "[\"NoneType\", \"Count\", null], [\"NoneType\", \"When\", null]]\n"));

    // No rows is still a JSON array; show takes the option too.
    EXPECT_EQ(
        parsedByPython(QStringLiteral("json"),
                       cli({QStringLiteral("sql"), t.db, QStringLiteral("SELECT * FROM [Odd] WHERE 1 = 0"),
                            QStringLiteral("--format"), QStringLiteral("json")})),
        QString());
    const QString shown = cli({QStringLiteral("show"), t.db, QStringLiteral("Round Statistics"),
                               QStringLiteral("--format"), QStringLiteral("json")});
    EXPECT_TRUE(parsedByPython(QStringLiteral("json"), shown)
                    .startsWith(QStringLiteral("[[\"int\", \"Auction ID\", 5], [\"int\", \"Round\", 1], "
                                               "[\"str\", \"Round Date\", \"2026-01-12\"]")))
        << shown.toStdString();
}

TEST(OutputFormats, TabDelimitedStaysTheDefaultAndUnknownFormatsAreRefused)
{
    OddTable t;
    const QStringList select{QStringLiteral("sql"), t.db, QStringLiteral("SELECT [Count] FROM [Odd]")};
    EXPECT_EQ(cli(select), QStringLiteral("Count\n3000000000\n0\n\n"));
    EXPECT_EQ(cli(select + QStringList{QStringLiteral("--format"), QStringLiteral("tsv")}), cli(select));
    // A line break inside a value would split its row.
    EXPECT_EQ(
        cli({QStringLiteral("sql"), t.db, QStringLiteral("SELECT [Amount], [Name, \"quoted\"] FROM [Odd]")}),
        QStringLiteral("Amount\tName, \"quoted\"\n0.1\ta, \"b\"\n-2.5\ttwo lines\n\tZürich\n"));
    int code = 0;
    cli(select + QStringList{QStringLiteral("--format"), QStringLiteral("xml")}, &code);
    EXPECT_EQ(code, 2);
}

TEST(OutputFormats, ExportAndSummaryWriteTheSameFormats)
{
    OddTable t;
    const QStringList exportBidders{QStringLiteral("export"), t.db, QStringLiteral("Bidders"),
                                    QStringLiteral("--sort"), QStringLiteral("[Bidder]")};
    const QString csv = cli(exportBidders + QStringList{QStringLiteral("--format"), QStringLiteral("csv")});
    const QString sqlCsv = cli({QStringLiteral("sql"), t.db,
                                QStringLiteral("SELECT * FROM [Bidders] WHERE [Round] = 1 ORDER BY [Bidder]"),
                                QStringLiteral("--format"), QStringLiteral("csv")});
    EXPECT_EQ(parsedByPython(QStringLiteral("csv"), csv), parsedByPython(QStringLiteral("csv"), sqlCsv));
    EXPECT_EQ(parsedByPython(QStringLiteral("csv"), csv).count(QLatin1Char('\n')), 3); // header, two bidders

    TempDir out;
    const QString file = out.file(QStringLiteral("bidders.json"));
    int code = 0;
    cli(exportBidders +
            QStringList{QStringLiteral("--format"), QStringLiteral("json"), QStringLiteral("-o"), file},
        &code);
    EXPECT_EQ(code, 0);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        parsedByPython(QStringLiteral("json"), QString::fromUtf8(written.readAll())).count(QLatin1Char('\n')),
        2);

    const QString figures =
        parsedByPython(QStringLiteral("json"), cli({QStringLiteral("summary"), t.db, QStringLiteral("1"),
                                                    QStringLiteral("--format"), QStringLiteral("json")}));
    EXPECT_EQ(figures.count(QLatin1Char('\n')), 20) << figures.toStdString();
    EXPECT_TRUE(
        figures.contains(QStringLiteral("[[\"str\", \"Figure\", \"Stage\"], [\"int\", \"Value\", 1]]")))
        << figures.toStdString();
}

TEST(OutputFormats, PivotTableAsOneRowPerRound)
{
    OddTable t;
    const QString rows =
        parsedByPython(QStringLiteral("json"),
                       cli({QStringLiteral("pivot"), t.db, QStringLiteral("rounds"), QStringLiteral("--from"),
                            QStringLiteral("1"), QStringLiteral("--format"), QStringLiteral("json")}));
    ASSERT_EQ(rows.count(QLatin1Char('\n')), 1) << rows.toStdString();
    EXPECT_TRUE(rows.startsWith(QStringLiteral("[[\"int\", \"Round\", 1], [\"int\", \"B001 / ")))
        << rows.toStdString();
    const QString csv =
        cli({QStringLiteral("pivot"), t.db, QStringLiteral("rounds"), QStringLiteral("--from"),
             QStringLiteral("1"), QStringLiteral("--format"), QStringLiteral("csv")});
    EXPECT_EQ(parsedByPython(QStringLiteral("csv"), csv).count(QLatin1Char('\n')), 2);
}

// A sum of a quadrillion or more keeps every digit in every format, where
// fifteen significant digits would print 1.259e+15.
TEST(OutputFormats, LargeAmountsKeepEveryDigit)
{
    OddTable t;
    t.sql(QStringLiteral("INSERT INTO [Odd] VALUES ('big', 1259000000000000, 1, Null)"));
    const QString sum = QStringLiteral("SELECT Sum([Amount]) + 1 AS [Total] FROM [Odd] WHERE [Count] = 1");
    const struct {
        const char* format;
        const char* expected;
    } cases[] = {
        {"tsv", "Total\n1259000000000001\n"},
        {"csv", "Total\r\n1259000000000001\r\n"},
        {"json", "[\n{\"Total\":1259000000000001}\n]\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            cli({QStringLiteral("sql"), t.db, sum, QStringLiteral("--format"), QLatin1String(c.format)}),
            QLatin1String(c.expected))
            << c.format;
    // The export writes what the grid shows.
    TempDir out;
    const QString file = out.file(QStringLiteral("odd.txt"));
    int code = 0;
    cli({QStringLiteral("export"), t.db, QStringLiteral("Odd"), QStringLiteral("--filter"),
         QStringLiteral("[Count] = 1"), QStringLiteral("-o"), file},
        &code);
    ASSERT_EQ(code, 0);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("\t1259000000000000\t")) << file.toStdString();
}

// Rows are written as they are read from the engine: every format keeps the
// bytes a value needs (a TAB, CR LF, quote, comma, backslash and control
// character in one text; a text beyond ASCII; an empty cell), in the order
// a filter and sort give.
TEST(OutputFormats, StreamedRowsKeepEveryByteInEveryFormat)
{
    OddTable t;
    t.sql(QStringLiteral("CREATE TABLE [Raw] ([Name] TEXT(50), [N] LONG, [X] DOUBLE)"));
    t.sql(QStringLiteral("INSERT INTO [Raw] VALUES ('a\tb\r\nc\"d,\\e\x01', 7, Null)"));
    t.sql(QStringLiteral("INSERT INTO [Raw] VALUES ('Z\u00fcrich', 9, 2.5)"));
    const QString show = QStringLiteral("show"), exportRows = QStringLiteral("export"),
                  format = QStringLiteral("--format");
    const struct {
        QStringList args;
        const char* expected;
    } cases[] = {
        {{show, t.db, QStringLiteral("Raw")}, "Name\tN\tX\na b  c\"d,\\e\x01\t7\t\nZ\xc3\xbcrich\t9\t2.5\n"},
        {{show, t.db, QStringLiteral("Raw"), format, QStringLiteral("csv")},
         "Name,N,X\r\n\"a\tb\r\nc\"\"d,\\e\x01\",7,\r\nZ\xc3\xbcrich,9,2.5\r\n"},
        {{show, t.db, QStringLiteral("Raw"), format, QStringLiteral("json")},
         "[\n{\"Name\":\"a\\tb\\r\\nc\\\"d,\\\\e\\u0001\",\"N\":7,\"X\":null},\n"
         "{\"Name\":\"Z\xc3\xbcrich\",\"N\":9,\"X\":2.5}\n]\n"},
        // The export writes a line break, CR LF included, as one blank.
        {{exportRows, t.db, QStringLiteral("Raw")},
         "Name\tN\tX\r\na b c\"d,\\e\x01\t7\t\r\nZ\xc3\xbcrich\t9\t2.5\r\n"},
        {{exportRows, t.db, QStringLiteral("Raw"), QStringLiteral("--all"), QStringLiteral("--filter"),
          QStringLiteral("[N] > 0"), QStringLiteral("--sort"), QStringLiteral("[N] DESC")},
         "Name\tN\tX\r\nZ\xc3\xbcrich\t9\t2.5\r\na b c\"d,\\e\x01\t7\t\r\n"},
        {{QStringLiteral("sql"), t.db, QStringLiteral("SELECT [N] * 2 AS D, [X] FROM [Raw] WHERE [N] > 7"),
          format, QStringLiteral("json")},
         "[\n{\"D\":18,\"X\":2.5}\n]\n"},
    };
    for (const auto& c : cases) {
        QProcess p;
        p.start(QStringLiteral(QV_CLI_PATH), c.args);
        p.waitForFinished(120000);
        EXPECT_EQ(p.readAllStandardOutput(), QByteArray(c.expected))
            << c.args.join(QLatin1Char(' ')).toStdString();
    }
}
