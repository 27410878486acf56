#pragma once

#include <QProcess>
#include <QString>

namespace qv::test {

// Runs quorvane-cli and returns its exit code; the output goes to *output.
int runCli(const QStringList& args, QString* output = nullptr);

// An auction of generated rounds big enough that importing one takes a
// while: round results files 07_001.zip to 07_00N.zip in folder/files, the
// auction made from round 1 in folder/app.
struct GeneratedAuction {
    QString appDir;
    QString filesDir;
    QString path; // the auction database
    QString roundFile(int round) const;
};
GeneratedAuction makeGeneratedAuction(const QString& folder, int rounds);

// A second program importing a round into the auction: quorvane-cli import
// DB ZIP as a real process.
class ImportingProcess {
public:
    ImportingProcess(const GeneratedAuction& auction, int round);
    ~ImportingProcess();
    ImportingProcess(const ImportingProcess&) = delete;
    ImportingProcess& operator=(const ImportingProcess&) = delete;

    // Waits until the import writes (its rollback journal appears) or ends;
    // true when it was seen writing.
    bool waitUntilWriting();
    // Waits for the end; the exit code (-1 when it crashed or hung).
    int finish();
    const QString& output() const { return output_; }

private:
    QString journal_;
    QProcess process_;
    QString output_;
};

// The rounds recorded in an auction, in order, and the rows of a table.
QList<int> roundsOf(const QString& auctionPath);
int rowCount(const QString& databasePath, const QString& table, const QString& where = {});

} // namespace qv::test
