// Reading the agency's Jet round databases into SQLite, checked against what mdbtools' own
// command-line tools print for the same files.
#include "common/error.h"
#include "store/jet/jet_reader.h"
#include "store/jet/jet_values.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <zip.h>

#include <cmath>
#include <functional>
#include <memory>

namespace {

using namespace qv::store::jet;

const QString fixtureFolder = QStringLiteral(QV_FIXTURES_DIR "/jet-rounds");

// Extracts "12_00N.mdb" from its zip into `folder`.
QString extractRound(int round, const QString& folder)
{
    const QString base = QStringLiteral("12_%1").arg(round, 3, 10, QLatin1Char('0'));
    const QByteArray zipPath =
        (fixtureFolder + QLatin1Char('/') + base + QStringLiteral(".zip")).toLocal8Bit();
    int error = 0;
    zip_t* archive = zip_open(zipPath.constData(), ZIP_RDONLY, &error);
    EXPECT_NE(archive, nullptr) << zipPath.constData();
    if (!archive)
        return {};
    const QByteArray member = (base + QStringLiteral(".mdb")).toUtf8();
    zip_stat_t stat;
    zip_stat_init(&stat);
    zip_stat(archive, member.constData(), 0, &stat);
    QByteArray content(qsizetype(stat.size), '\0');
    zip_file_t* file = zip_fopen(archive, member.constData(), 0);
    EXPECT_NE(file, nullptr);
    EXPECT_EQ(zip_fread(file, content.data(), stat.size), zip_int64_t(stat.size));
    zip_fclose(file);
    zip_close(archive);
    const QString out = folder + QLatin1Char('/') + base + QStringLiteral(".mdb");
    QFile target(out);
    EXPECT_TRUE(target.open(QIODevice::WriteOnly));
    target.write(content);
    return out;
}

struct SqliteCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Connection = std::unique_ptr<sqlite3, SqliteCloser>;

Connection memoryDatabase()
{
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    return Connection(db);
}

// Rows of one query, each value as SQLite holds it: null, or its type and text.
struct Cell {
    int type = SQLITE_NULL;
    QString text;
    double real = 0;
    QByteArray bytes;
};
std::vector<std::vector<Cell>> query(sqlite3* db, const QString& sql)
{
    std::vector<std::vector<Cell>> rows;
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::vector<Cell> row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            Cell cell;
            cell.type = sqlite3_column_type(stmt, i);
            cell.real = sqlite3_column_double(stmt, i);
            if (cell.type == SQLITE_BLOB)
                cell.bytes = QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, i)),
                                        sqlite3_column_bytes(stmt, i));
            cell.text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
            row.push_back(cell);
        }
        rows.push_back(row);
    }
    sqlite3_finalize(stmt);
    return rows;
}

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A field of mdb-export's CSV: quoted (text-like) or bare; a bare empty field is a null.
struct CsvField {
    QString text;
    bool quoted = false;
};
std::vector<std::vector<CsvField>> parseCsv(const QString& csv)
{
    std::vector<std::vector<CsvField>> rows(1);
    CsvField field;
    bool inQuotes = false;
    bool fieldStarted = false;
    auto endField = [&] {
        rows.back().push_back(field);
        field = CsvField();
        fieldStarted = false;
    };
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const QChar c = csv[i];
        if (inQuotes) {
            if (c == QLatin1Char('"') && i + 1 < csv.size() && csv[i + 1] == QLatin1Char('"')) {
                field.text += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                inQuotes = false;
            } else {
                field.text += c;
            }
        } else if (c == QLatin1Char('"')) {
            inQuotes = field.quoted = fieldStarted = true;
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\n')) {
            endField();
            rows.emplace_back();
        } else {
            field.text += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !rows.back().empty())
        endField();
    if (rows.back().empty())
        rows.pop_back();
    return rows;
}

std::vector<std::vector<CsvField>> exportTable(const QString& mdb, const QString& table)
{
    return parseCsv(
        runTool(QStringLiteral("mdb-export"), {QStringLiteral("-T"), QStringLiteral("%Y-%m-%d %H:%M:%S"),
                                               QStringLiteral("-b"), QStringLiteral("hex"), mdb, table}));
}

// mdb-schema's column types for one table, by column name, mapped to our declared types ("GUID" for
// replication ids, which we declare TEXT(38) and mdb-export prints in hex; "SINGLE" for singles, which
// we declare DOUBLE and mdb-export prints to a float's precision).
std::vector<std::pair<QString, QString>> schemaColumns(const QString& mdb, const QString& table)
{
    const QString schema = runTool(QStringLiteral("mdb-schema"), {QStringLiteral("-T"), table, mdb});
    static const QRegularExpression line(
        QStringLiteral("^\\s*\\[([^\\]]+)\\]\\s+([A-Za-z /]+?)(?: \\((\\d+)\\))?,?\\s*$"),
        QRegularExpression::MultilineOption);
    std::vector<std::pair<QString, QString>> columns;
    for (auto it = line.globalMatch(schema); it.hasNext();) {
        const auto m = it.next();
        const QString kind = m.captured(2).trimmed();
        QString declared = kind == QLatin1String("Long Integer") || kind == QLatin1String("Integer") ||
                                   kind == QLatin1String("Byte")
                               ? QStringLiteral("LONG")
                           : kind == QLatin1String("Double")   ? QStringLiteral("DOUBLE")
                           : kind == QLatin1String("Single")   ? QStringLiteral("SINGLE")
                           : kind == QLatin1String("Currency") ? QStringLiteral("CURRENCY")
                           : kind == QLatin1String("DateTime") ? QStringLiteral("DATETIME")
                           : kind == QLatin1String("Text")     ? QStringLiteral("TEXT(%1)").arg(m.captured(3))
                           : kind.startsWith(QLatin1String("Boolean")) ? QStringLiteral("YESNO")
                           : kind == QLatin1String("Replication ID")   ? QStringLiteral("GUID")
                                                                       : QStringLiteral("LONGTEXT");
        columns.emplace_back(m.captured(1), declared);
    }
    return columns;
}

qint64 scaledCurrency(const QString& text) // "2750.5000" -> 27505000, exactly
{
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? text : text.left(dot);
    const QString fraction = (dot < 0 ? QString() : text.mid(dot + 1)).leftJustified(4, QLatin1Char('0'));
    const bool negative = whole.startsWith(QLatin1Char('-'));
    const qint64 magnitude = whole.mid(negative ? 1 : 0).toLongLong() * 10000 + fraction.left(4).toLongLong();
    return negative ? -magnitude : magnitude;
}

class JetRounds : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        for (int round = 1; round <= 4; ++round)
            rounds.push_back(extractRound(round, folder.path()));
    }
    QTemporaryDir folder;
    std::vector<QString> rounds;
};

TEST_F(JetRounds, recognisesJetFilesByTheirHeader)
{
    EXPECT_TRUE(isJetDatabase(rounds[0]));
    EXPECT_FALSE(isJetDatabase(fixtureFolder + QStringLiteral("/12_001.zip")));
    EXPECT_FALSE(isJetDatabase(folder.path() + QStringLiteral("/missing.mdb")));
}

// Every table of `mdb` copied into SQLite: the same tables in catalogue order, the same columns with
// their declared types, and every value as mdb-export prints it.
void expectSameAsMdbExport(const QString& mdb)
{
    SCOPED_TRACE(mdb.toStdString());
    Connection db = memoryDatabase();
    const QStringList names = copyJetIntoSqlite(mdb, db.get());

    // All tables, the engine's own first, in catalogue order.
    const QStringList listed =
        runTool(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), QStringLiteral("-S"), mdb})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(names, listed);
    EXPECT_EQ(names.first(), QStringLiteral("MSysObjects"));

    QStringList copied;
    for (const auto& row :
         query(db.get(), QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        copied << row[0].text;
    QStringList expected;
    for (const QString& name : names)
        if (!name.startsWith(QLatin1String("MSys")))
            expected << name;
    EXPECT_EQ(copied, expected);

    for (const QString& table : expected) {
        SCOPED_TRACE(table.toStdString());
        const auto info = query(db.get(), QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
        const auto schema = schemaColumns(mdb, table);
        ASSERT_EQ(info.size(), schema.size());
        for (std::size_t c = 0; c < info.size(); ++c) {
            EXPECT_EQ(info[c][1].text, schema[c].first);
            const QString& kind = schema[c].second;
            EXPECT_EQ(info[c][2].text, kind == QLatin1String("GUID")     ? QStringLiteral("TEXT(38)")
                                       : kind == QLatin1String("SINGLE") ? QStringLiteral("DOUBLE")
                                                                         : kind);
        }

        const auto exported = exportTable(mdb, table);
        const auto stored = query(db.get(), QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table));
        ASSERT_EQ(stored.size() + 1, exported.size());
        for (std::size_t r = 0; r < stored.size(); ++r) {
            for (std::size_t c = 0; c < info.size(); ++c) {
                SCOPED_TRACE(schema[c].first.toStdString());
                const CsvField& want = exported[r + 1][c];
                const Cell& got = stored[r][c];
                const QString& declared = schema[c].second;
                if (declared == QLatin1String("YESNO")) {
                    // Yes is -1 to the engine; mdb-export prints 1.
                    EXPECT_EQ(got.type, SQLITE_INTEGER);
                    EXPECT_EQ(got.text,
                              want.text == QLatin1String("1") ? QStringLiteral("-1") : QStringLiteral("0"));
                } else if (!want.quoted && want.text.isEmpty()) {
                    EXPECT_EQ(got.type, SQLITE_NULL);
                } else if (declared == QLatin1String("GUID")) {
                    EXPECT_EQ(got.text.toLatin1().toHex().toUpper(), want.text.toLatin1());
                } else if (got.type == SQLITE_BLOB) {
                    EXPECT_EQ(got.bytes.toHex().toUpper(), want.text.toLatin1());
                } else if (declared == QLatin1String("CURRENCY")) {
                    // CURRENCY has numeric affinity: SQLite keeps whole amounts as integers.
                    EXPECT_TRUE(got.type == SQLITE_FLOAT || got.type == SQLITE_INTEGER);
                    EXPECT_EQ(got.real, double(scaledCurrency(want.text)) / 10000.0)
                        << want.text.toStdString();
                } else if (declared == QLatin1String("DATETIME")) {
                    EXPECT_EQ(got.type, SQLITE_TEXT);
                    QString iso = want.text;
                    iso.remove(QStringLiteral(" 00:00:00"));
                    if (iso == QLatin1String("1900-01-00")) // how mdb-export prints every day before day 0
                        EXPECT_LT(got.text, QStringLiteral("1899-12-30"));
                    else
                        EXPECT_EQ(got.text, iso);
                } else if (declared == QLatin1String("SINGLE")) {
                    EXPECT_EQ(got.type, SQLITE_FLOAT);
                    EXPECT_EQ(double(float(got.real)), got.real) << "widened exactly";
                    EXPECT_EQ(float(got.real), want.text.toFloat()) << want.text.toStdString();
                } else if (declared == QLatin1String("DOUBLE")) {
                    EXPECT_EQ(got.type, SQLITE_FLOAT);
                    EXPECT_NEAR(got.real, want.text.toDouble(), 1e-9 * std::fabs(got.real));
                } else if (declared == QLatin1String("LONG")) {
                    EXPECT_EQ(got.type, SQLITE_INTEGER);
                    EXPECT_EQ(got.text, want.text);
                } else {
                    EXPECT_EQ(got.type, SQLITE_TEXT);
                    EXPECT_EQ(got.text, want.text);
                }
            }
        }
    }
}

TEST_F(JetRounds, everyTableColumnAndValueMatchesMdbExport)
{
    for (const QString& mdb : rounds) {
        expectSameAsMdbExport(mdb);
        Connection db = memoryDatabase();
        EXPECT_TRUE(copyJetIntoSqlite(mdb, db.get()).contains(QStringLiteral("sysX")));
    }
}

// The older format: 2 KB pages, texts in a code page, long values that span pages.
TEST(Jet3Files, everyTableOfEveryFileMatchesMdbExport)
{
    const QDir folder(QStringLiteral(QV_FIXTURES_DIR "/jet3"));
    const QStringList files = folder.entryList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 4);
    for (const QString& file : files)
        expectSameAsMdbExport(folder.filePath(file));
}

// The same files through the command line, in a process of its own as a user would run it.
TEST(Jet3Files, quorvaneCliQueriesThem)
{
    const auto sql = [](const QString& file, const QString& statement) {
        QProcess process;
        process.start(QStringLiteral(QV_CLI_PATH),
                      {QStringLiteral("sql"), QStringLiteral(QV_FIXTURES_DIR "/jet3/") + file, statement});
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << file.toStdString();
        EXPECT_EQ(process.exitCode(), 0) << file.toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    EXPECT_EQ(sql(QStringLiteral("testV1997.mdb"),
                  QStringLiteral("SELECT [A], [I], [H] FROM [Table1] ORDER BY [A]")),
              QStringLiteral("A\tI\tH\na\t0\t0\nabcdefg\t-1\t3.5\n"));
    EXPECT_EQ(sql(QStringLiteral("test2V1997.mdb"), QStringLiteral("SELECT [PROJ_NAME] FROM [MSP_PROJECTS]")),
              QStringLiteral("PROJ_NAME\nProject1\n"));
    EXPECT_EQ(
        sql(QStringLiteral("overflowTestV1997.mdb"), QStringLiteral("SELECT Count(*) AS n FROM [Table1]")),
        QStringLiteral("n\n%1\n").arg(
            exportTable(QStringLiteral(QV_FIXTURES_DIR "/jet3/overflowTestV1997.mdb"),
                        QStringLiteral("Table1"))
                .size() -
            1));
    EXPECT_EQ(sql(QStringLiteral("testIndexCodesV1997.mdb"),
                  QStringLiteral("SELECT Count(*) AS n FROM [Table9_desc]")),
              QStringLiteral("n\n%1\n").arg(
                  exportTable(QStringLiteral(QV_FIXTURES_DIR "/jet3/testIndexCodesV1997.mdb"),
                              QStringLiteral("Table9_desc"))
                      .size() -
                  1));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void put32(QByteArray& bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xff);
}

// The longest memo one long-value page can hold, every byte a code-page character that takes three
// bytes in UTF-8: far more than a page once converted, and nothing may be cut.
TEST(Jet3Files, aMemoFillingAWholePageComesWhole)
{
    QByteArray bytes = readFile(QStringLiteral(QV_FIXTURES_DIR "/jet3/test2V1997.mdb"));
    constexpr qsizetype pageSize = 2048;
    constexpr quint32 singlePage = 0x40000000;
    // The author memo (348 bytes) is the only row of long-value page 49.
    constexpr qsizetype page = 49 * pageSize;
    ASSERT_EQ(bytes.mid(page + 4, 4), QByteArray("LVAL"));
    ASSERT_EQ(bytes[page + 8], char(1));
    QByteArray header(8, '\0');
    put32(header, 0, 348 | singlePage);
    put32(header, 4, 49 << 8);
    const qsizetype memo = bytes.indexOf(header);
    ASSERT_GT(memo, 0);
    ASSERT_EQ(bytes.indexOf(header, memo + 1), -1);

    constexpr qsizetype firstByte = 12; // after the page header and the one row offset
    constexpr qsizetype length = pageSize - firstByte;
    bytes[page + 10] = char(firstByte);
    bytes[page + 11] = 0;
    for (qsizetype i = page + firstByte; i < page + pageSize; ++i)
        bytes[i] = char(0x80); // the euro sign in code page 1252
    put32(bytes, memo, quint32(length) | singlePage);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("long.mdb"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    Connection db = memoryDatabase();
    copyJetIntoSqlite(path, db.get());
    const auto rows = query(db.get(), QStringLiteral("SELECT PROJ_PROP_AUTHOR, PROJ_NAME FROM MSP_PROJECTS"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].text, QString(length, QChar(0x20ac)));
    EXPECT_EQ(rows[0][1].text, QStringLiteral("Project1"));
}

// Yes/No is -1 and 0 as the engine has it; Currency is the exact scaled amount.
TEST(Jet3Files, yesNoAndCurrencyKeepTheEnginesValues)
{
    Connection db = memoryDatabase();
    copyJetIntoSqlite(QStringLiteral(QV_FIXTURES_DIR "/jet3/testV1997.mdb"), db.get());
    const auto rows = query(db.get(), QStringLiteral("SELECT A, I, H FROM Table1 ORDER BY A"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][1].text, QStringLiteral("0"));
    EXPECT_EQ(rows[1][0].text, QStringLiteral("abcdefg"));
    EXPECT_EQ(rows[1][1].text, QStringLiteral("-1"));
    EXPECT_EQ(rows[1][2].real, 3.5);
}

TEST_F(JetRounds, currencySumsOverAllRoundsAreExactToTheCent)
{
    qint64 expectedGross = 0;
    qint64 expectedNet = 0;
    qint64 storedGross = 0;
    qint64 storedNet = 0;
    for (const QString& mdb : rounds) {
        for (const auto& row : exportTable(mdb, QStringLiteral("All Bids"))) {
            if (row[9].text == QLatin1String("Gross Bid Amount"))
                continue;
            expectedGross += scaledCurrency(row[9].text);
            expectedNet += scaledCurrency(row[10].text);
        }
        Connection db = memoryDatabase();
        copyJetIntoSqlite(mdb, db.get());
        for (const auto& row :
             query(db.get(), QStringLiteral("SELECT [Gross Bid Amount], [Net Bid Amount] FROM [All Bids]"))) {
            storedGross += std::llround(row[0].real * 10000);
            storedNet += std::llround(row[1].real * 10000);
        }
    }
    EXPECT_GT(expectedNet, 0);
    EXPECT_EQ(storedGross, expectedGross);
    EXPECT_EQ(storedNet, expectedNet);
    EXPECT_EQ(expectedNet % 100, 0) << "the fixtures' amounts are whole cents";
}

TEST_F(JetRounds, datesAccountsAndCurrencyKeepTheirForm)
{
    Connection db = memoryDatabase();
    copyJetIntoSqlite(rounds[0], db.get());
    const auto date =
        query(db.get(), QStringLiteral("SELECT [Round Date], typeof([Round Date]) FROM [Round Statistics]"));
    ASSERT_EQ(date.size(), 1u);
    EXPECT_EQ(date[0][0].text, QStringLiteral("2026-03-02"));
    EXPECT_EQ(date[0][1].text, QStringLiteral("text"));

    const auto accounts =
        query(db.get(), QStringLiteral("SELECT DISTINCT [Zelnar Acct] FROM Bidders ORDER BY 1"));
    ASSERT_FALSE(accounts.empty());
    EXPECT_EQ(accounts[0][0].text, QStringLiteral("0000100001"));
    EXPECT_EQ(accounts[0][0].type, SQLITE_TEXT);

    const auto amounts = query(
        db.get(), QStringLiteral("SELECT [Net Bid Amount] FROM [All Bids] WHERE [Net Bid Amount] = 1062.5"));
    EXPECT_EQ(amounts.size(), 1u);
}

// Damaged inputs: each fails with the engine's number and no crash.
class DamagedJet : public JetRounds {
protected:
    QString variant(const QString& name, const std::function<void(QByteArray&)>& change)
    {
        QFile source(rounds[0]);
        EXPECT_TRUE(source.open(QIODevice::ReadOnly));
        QByteArray bytes = source.readAll();
        change(bytes);
        const QString path = folder.path() + QLatin1Char('/') + name;
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return path;
    }
    int failure(const QString& path)
    {
        Connection db = memoryDatabase();
        try {
            copyJetIntoSqlite(path, db.get());
        } catch (const qv::Error& e) {
            EXPECT_TRUE(e.description().contains(path)) << e.description().toStdString();
            return e.number();
        }
        return 0;
    }
};

TEST_F(DamagedJet, truncatedForeignAndGarbageFilesAreNotDatabases)
{
    EXPECT_EQ(
        failure(variant(QStringLiteral("cut.mdb"), [](QByteArray& b) { b.truncate(b.size() / 2 + 100); })),
        qv::err::NotADatabase);
    EXPECT_EQ(failure(variant(QStringLiteral("short.mdb"), [](QByteArray& b) { b.truncate(2 * 4096); })),
              qv::err::NotADatabase);
    EXPECT_EQ(failure(variant(QStringLiteral("text.mdb"),
                              [](QByteArray& b) { b = QByteArray("Round,Bidder\n1,x\n"); })),
              qv::err::NotADatabase);
    EXPECT_EQ(failure(variant(QStringLiteral("garbage.mdb"),
                              [](QByteArray& b) {
                                  for (qsizetype i = 4096; i < b.size(); ++i)
                                      b[i] = char((i * 131 + 7) & 0xff);
                              })),
              qv::err::NotADatabase);
    EXPECT_EQ(failure(fixtureFolder + QStringLiteral("/12_001.zip")), qv::err::NotADatabase);
    EXPECT_EQ(failure(folder.path() + QStringLiteral("/missing.mdb")), qv::err::FileNotFound);
}

TEST_F(DamagedJet, encryptedAndPasswordProtectedFilesAreRefused)
{
    // The header fields lie under the engine's mask, so any change of the raw bytes makes them non-zero.
    EXPECT_EQ(
        failure(variant(QStringLiteral("key.mdb"), [](QByteArray& b) { b[0x3e] = char(b[0x3e] ^ 0x5a); })),
        qv::err::EncryptedDatabase);
    EXPECT_EQ(failure(variant(QStringLiteral("password.mdb"),
                              [](QByteArray& b) { b[0x42] = char(b[0x42] ^ 'p'); })),
              qv::err::EncryptedDatabase);
}

TEST_F(DamagedJet, scrambledPagesNeverCrash)
{
    for (qsizetype page = 3; page < 81; page += 2) {
        const QString path = variant(QStringLiteral("page%1.mdb").arg(page), [page](QByteArray& b) {
            for (qsizetype i = page * 4096 + 16; i < (page + 1) * 4096; i += 7)
                b[i] = char(b[i] ^ 0xa5);
        });
        const int number = failure(path);
        EXPECT_TRUE(number == 0 || number == qv::err::NotADatabase) << page << ": " << number;
    }
}

TEST_F(JetRounds, aFailedCopyLeavesTheDestinationUntouched)
{
    Connection db = memoryDatabase();
    sqlite3_exec(db.get(), "CREATE TABLE Markets (x)", nullptr, nullptr, nullptr);
    try {
        copyJetIntoSqlite(rounds[0], db.get());
        ADD_FAILURE() << "copied over an existing table";
    } catch (const qv::Error& e) {
        EXPECT_EQ(e.number(), qv::err::TableExists);
    }
    EXPECT_EQ(query(db.get(), QStringLiteral("SELECT name FROM sqlite_master")).size(), 1u);
}

TEST(JetValues, currencyIsTheNearestDoubleToTheScaledInteger)
{
    EXPECT_EQ(currencyToReal(27505000), 2750.5);
    EXPECT_EQ(currencyToReal(-1), -0.0001);
    EXPECT_EQ(currencyToReal(123456789012345678), 12345678901234.5678);
    EXPECT_EQ(currencyToReal(std::numeric_limits<qint64>::max()), 922337203685477.5807);
    EXPECT_EQ(currencyToReal(std::numeric_limits<qint64>::min()), -922337203685477.5808);
    EXPECT_EQ(currencyToReal(9007199254740993), 900719925474.0993);
    EXPECT_EQ(currencyToReal(1234567), 123.4567);
    EXPECT_EQ(currencyToReal(3), 0.0003);
}

// Every fixture's text columns are 255 characters wide, where a halved and an unhalved Jet 4 width
// both end at the limit: the narrower widths are told here.
TEST(JetValues, textColumnsHoldTheCharactersTheirBytesDeclare)
{
    const struct {
        int bytes;
        JetVersion version;
        int characters;
    } cases[] = {{100, JetVersion::Jet4, 50},  {100, JetVersion::Jet3, 100}, {510, JetVersion::Jet4, 255},
                 {512, JetVersion::Jet4, 255}, {255, JetVersion::Jet3, 255}, {256, JetVersion::Jet3, 255},
                 {0, JetVersion::Jet4, 255}};
    for (const auto& c : cases)
        EXPECT_EQ(declaredTextLength(c.bytes, c.version), c.characters) << c.bytes;
}

TEST(JetValues, datesBecomeIsoTextToTheSecond)
{
    EXPECT_EQ(jetDateToStorage(46083.0), QStringLiteral("2026-03-02"));
    EXPECT_EQ(jetDateToStorage(46083.5), QStringLiteral("2026-03-02 12:00:00"));
    EXPECT_EQ(jetDateToStorage(46083.9999999), QStringLiteral("2026-03-03"));
    EXPECT_EQ(jetDateToStorage(-1.25), QStringLiteral("1899-12-29 06:00:00"));
    EXPECT_EQ(jetDateToStorage(1e12), std::nullopt);
    EXPECT_EQ(jetDateToStorage(NAN), std::nullopt);
}

} // namespace
