#pragma once

#include <QString>
#include <QStringList>

namespace qv::store::sample {

// What to generate: the auction number (1 to 99, the first two characters of
// every file name), how many rounds, and the size of the simulated auction.
struct SampleOptions {
    int auction = 5;
    int rounds = 10;
    int licenses = 60;
    int bidders = 12;
    quint32 seed = 1;
    // Adds "MSysObjects", "sysX" and "SysY" to every round database, as an
    // engine and a careless publisher might, to test which tables count as
    // supplied.
    bool engineTables = false;
    // The chance, per round of the first two stages, that a licence's high
    // bid is withdrawn; tests raise it to meet withdrawals in a few rounds.
    double withdrawalChance = 0.002;
};

// Empty when the options can be generated, else why not.
QString sampleOptionsProblem(const SampleOptions& options);

// Writes NN_RRR.zip (each holding NN_RRR.mdb) for rounds 1..rounds into
// folder, creating the folder when missing, and returns the zip paths in
// round order. The same options give byte-identical files. Throws qv::Error
// on bad options or when a file cannot be written.
QStringList writeSampleAuction(const QString& folder, const SampleOptions& options);

} // namespace qv::store::sample
