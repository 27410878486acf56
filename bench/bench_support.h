#pragma once

#include "common/prompter.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <vector>

// Shared pieces of the benchmarks: timing, a prompter that never asks, the
// cached large sample auction and the sqlite3 shell used as the floor.
namespace qv::bench {

// Seconds taken by work, on the monotonic clock.
double timeIt(const std::function<void()>& work);
double median(std::vector<double> values);
// Processor seconds this process has used so far: on a shared machine the
// difference of two readings shows what the work itself costs.
double processorSeconds();
// Processor seconds of this process's finished child processes (the shell).
double childProcessorSeconds();

// Chooses `file` in every file dialog and answers every message with its
// most permissive button (OK, Yes), without printing anything.
class SilentPrompter : public Prompter {
public:
    QString file;
    QStringList messages; // every text shown, for reporting failures

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                   Answer defaultAnswer) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFile(const FileChoice& choice) override;
    QString saveFile(const FileChoice& choice) override;
    void setStatus(int, const QString&) override {}
    void setBusy(bool) override {}
};

// Points the application folder ($QUORVANE_HOME) at folder, creating it,
// and resets the session as a new program start would.
void useApplicationFolder(const QString& folder);

// The cache of generated files, kept between runs: $QUORVANE_BENCH_CACHE,
// else /tmp/quorvane-bench-cache.
QString cacheFolder();

// A generated auction 5 (seed 1) of one size.
struct SampleSize {
    const char* name;
    int licences;
    int bidders;
    int rounds; // batch-imported; one round more is generated and kept aside
};
// The large auction (375,000 rows of [Markets]) and the very large one (1.5
// million), and the large one's first 50 rounds' worth, for linearity.
inline constexpr SampleSize LargeSize{"large", 1500, 150, 250};
inline constexpr SampleSize VeryLargeSize{"very large", 3000, 200, 500};
inline constexpr SampleSize FiftyRoundsSize{"50 rounds", 1500, 150, 50};
// The size a benchmark's first argument names ("large", "very-large", "50"),
// or the large one; exits on an unknown name.
SampleSize sampleSizeNamed(const QString& name);

// A folder with the round results files of rounds 1..rounds, generated on
// first use. The next round lies in nextRoundZip(), outside that folder, so
// a batch import stops before it.
QString sampleFolder(const SampleSize& size);
QString nextRoundZip(const SampleSize& size);

// Auction5.mdb with every round of sampleFolder() batch-imported, built on
// first use (or stored by bench_import after it has timed the batch import).
QString builtAuction(const SampleSize& size);
void storeBuiltAuction(const SampleSize& size, const QString& built);

// The large auction 5 (1,500 licences, 150 bidders, rounds 1..250; round 251
// aside) and its batch-imported Auction5.mdb.
QString largeSampleFolder();
QString largeRound251Zip();
QString largeAuction250();
void storeLargeAuction250(const QString& builtAuction);

// Copies a file over any old copy; throws qv::Error on failure.
void copyFresh(const QString& from, const QString& to);

// Runs the sqlite3 shell on database with script as its input, output
// discarded; returns the wall-clock seconds, process start included.
// Throws qv::Error when the shell reports an error.
double runShell(const QString& database, const QString& script);

// One whole process as /usr/bin/time sees it: wall-clock and processor
// seconds (user and system) and peak resident memory.
struct ProcessFigures {
    double wall = 0;
    double processor = 0;
    double peakMiB = 0;
};
// Runs program with args (standard input from input when given), standard
// output into outputFile, after settle(); fails loudly when it fails.
ProcessFigures timeProcess(const QString& program, const QStringList& args, const QString& outputFile,
                           const QString& input = {});
// Runs each command in turn, runs times over, and keeps the median of each
// figure per command: alternated runs, so that the machine's load falls on
// every side alike.
struct TimedCommand {
    QString label;
    QString program;
    QStringList args;
    QString input;
};
std::vector<ProcessFigures> alternatedMedians(const std::vector<TimedCommand>& commands,
                                              const QString& outputFile, int runs);

// The supplied tables of an auction database, in sysSuppliedTables order.
QStringList suppliedTables(const QString& auctionPath);

// A name quoted, and a text as a string literal, for the sqlite3 shell.
QString quoted(const QString& name);
QString literal(const QString& text);

// The shell script that copies a round database's supplied tables into the
// database the shell runs on, in one transaction, as an import does: the
// round's old rows deleted first when deleteOld, "Withdrawal Statistics"
// replaced whole, and the round recorded in sysRounds when the table exists.
// With checks, roundCheckScript's statements run first.
QString roundCopyScript(const QString& roundDatabase, const QStringList& tables, int round, bool deleteOld,
                        bool recordRound, const QString& checks = {});

// The same copy from the round results file itself, unzipped inside the
// shell (its zipfile() and writefile() functions) into scratch, as an import
// extracts the round database beside the auction before it attaches it.
QString roundZipCopyScript(const QString& zip, const QString& scratch, const QStringList& tables, int round,
                           bool deleteOld, bool recordRound, const QString& checks = {});

// The numeric columns (LONG, DOUBLE, CURRENCY) and [Round] of each supplied
// table of an auction database, as "table\tcolumn" lines.
QStringList numericColumns(const QString& auctionPath);

// The checks an import makes of the round database attached as r before it
// copies anything, as SQLite statements: its integrity, no text in a numeric
// column, no row of another round.
QString roundCheckScript(const QStringList& tables, const QStringList& numeric, int round);

// The statements that make the [Round] indexes an auction database keeps.
QString roundIndexScript(const QString& auctionPath);

// Writes out every dirty page of the machine (sync), so that a timed run
// does not pay for the write-back of files an earlier step wrote.
void settle();

// Peak resident memory of this process so far, in KiB (VmHWM).
long peakResidentKiB();

// Fails loudly: prints the message and the prompter's texts, then exits.
[[noreturn]] void fail(const QString& what, const SilentPrompter* prompter = nullptr);

} // namespace qv::bench
