#pragma once

#include "common/error.h"
#include "common/paths.h"
#include "store/database.h"
#include "store/import/import_routines.h"
#include "store/sample/sample_auction.h"
#include "store/session.h"
#include "support/qt_printers.h"
#include "support/round_files.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace qv::test {

// An application folder of its own, a folder of generated round results
// files and a scripted prompter, for each test.
class ImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(app.isValid() && downloads.isValid());
        qputenv("QUORVANE_HOME", app.path().toUtf8());
        CloseAuctionDatabase();
        session() = Session{};
        session().LastImportFile = app.file(QStringLiteral("lastimp.inf"));
        host.setCaption = [this](const QString& c) { caption = c; };
        host.fileOpen = [this] { ++fileOpenCalls; };
    }

    void TearDown() override
    {
        CloseAuctionDatabase();
        qunsetenv("QUORVANE_HOME");
    }

    QStringList generate(int rounds, int auction = 5, bool engineTables = false, const QString& folder = {},
                         double withdrawalChance = 0.002)
    {
        store::sample::SampleOptions o;
        o.auction = auction;
        o.rounds = rounds;
        o.licenses = 24;
        o.bidders = 6;
        o.seed = 7;
        o.engineTables = engineTables;
        o.withdrawalChance = withdrawalChance;
        return store::sample::writeSampleAuction(folder.isEmpty() ? downloads.path() : folder, o);
    }

    QString zip(const QString& name) const { return downloads.file(name); }
    QString auctionPath(int auction = 5) const
    {
        return app.file(QStringLiteral("Auction%1.mdb").arg(auction));
    }

    bool create(const QString& zipName)
    {
        prompter.files.push_back(zip(zipName));
        return CreateAuction(host);
    }

    bool import(const QString& zipName)
    {
        prompter.files.push_back(zip(zipName));
        return ImportRound(host, false);
    }

    store::Database& db() { return *session().CurrentDatabase; }

    QStringList column(const QString& statement)
    {
        auto rs = db().openRecordset(statement, store::RecordsetType::Snapshot);
        QStringList values;
        for (int r = 0; r < rs->recordCount(); ++r)
            values << rs->at(r, 0).toString();
        return values;
    }

    int count(const QString& statement) { return db().openRecordset(statement)->recordCount(); }

    // Every supplied table and sysRounds, row by row, in a fixed order.
    QStringList dump()
    {
        QStringList out;
        for (const QString& t : column(QStringLiteral("SELECT TableName FROM sysSuppliedTables")) +
                                    QStringList{QStringLiteral("sysRounds")}) {
            auto rs = db().openRecordset(QStringLiteral("[") + t + QStringLiteral("]"));
            QStringList rows;
            for (int r = 0; r < rs->recordCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < rs->fieldCount(); ++c)
                    cells << rs->at(r, c).toString();
                rows << t + QLatin1Char('|') + cells.join(QLatin1Char('|'));
            }
            rows.sort();
            out << rows;
        }
        return out;
    }

    // Changes the database inside a round results file with SQLite's own
    // statements (triggers, odd names, wrong values a publisher might send).
    void rewriteRound(const QString& zipName, const QStringList& statements)
    {
        const QString work = downloads.file(QStringLiteral("rewrite.db"));
        QFile::remove(work);
        {
            QFile f(work);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(memberOf(zip(zipName)));
        }
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(work).constData(), &raw), SQLITE_OK);
        for (const QString& sql : statements) {
            char* error = nullptr;
            EXPECT_EQ(sqlite3_exec(raw, sql.toUtf8().constData(), nullptr, nullptr, &error), SQLITE_OK)
                << sql.toStdString() << ": " << (error ? error : "");
            sqlite3_free(error);
        }
        sqlite3_close(raw);
        writeZip(zip(zipName), zipName.left(zipName.size() - 4) + QStringLiteral(".mdb"), readFile(work));
        QFile::remove(work);
    }

    // Everything in the application folder but lastimp.inf.
    QStringList appFiles() const
    {
        QStringList files = QDir(app.path()).entryList(QDir::Files | QDir::Hidden);
        files.removeAll(QStringLiteral("lastimp.inf"));
        return files;
    }

    QStringList leftovers() const
    {
        return QDir(app.path()).entryList({QStringLiteral("*.mdb")}, QDir::Files);
    }

    TempDir app;
    TempDir downloads;
    ScriptedPrompter prompter;
    ImportHost host{prompter};
    QString caption;
    int fileOpenCalls = 0;
};

} // namespace qv::test
