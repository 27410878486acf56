#pragma once

#include "store/database.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace qv::test {

// The sample auction of two rounds, made by quorvane-cli in a folder of its
// own. With doublings, its [All Bids] is copied onto itself that many times
// (7 make 31,360 bids), for outputs that take a while to write.
struct CliAuction {
    TempDir files, app;
    QString db = app.file(QStringLiteral("Auction5.mdb"));

    explicit CliAuction(int doublings = 0)
    {
        runCli({QStringLiteral("sample"), files.path(), QStringLiteral("--rounds"), QStringLiteral("2")});
        runCli({QStringLiteral("--app-dir"), app.path(), QStringLiteral("batch"),
                files.file(QStringLiteral("05_001.zip"))});
        // Straight into the database: quorvane-cli sql changes no supplied table.
        auto database = store::Database::open(db);
        for (int i = 0; i < doublings; ++i)
            database->execute(QStringLiteral("INSERT INTO [All Bids] SELECT * FROM [All Bids]"));
    }
};

} // namespace qv::test
