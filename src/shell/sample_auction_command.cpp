// Help › Open the Sample Auction: a first look at the program without a file
// of the agency's.
#include "common/error.h"
#include "common/paths.h"
#include "shell/frm_main.h"
#include "store/sample/sample_auction.h"
#include "store/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>

namespace qv::shell {

namespace {

// The auction scripts/start.sh writes too: auction 5, twelve rounds.
store::sample::SampleOptions sampleOptions()
{
    store::sample::SampleOptions options;
    options.auction = 5;
    options.rounds = 12;
    options.licenses = 120;
    options.bidders = 16;
    return options;
}

} // namespace

void frmMain::openSampleAuction()
{
    const QString folder = joinPath(downloadFolder(), QStringLiteral("quorvane-sample"));
    const QString firstRound = joinPath(folder, QStringLiteral("05_001.zip"));
    try {
        // The same options write the same files: once written they are kept.
        if (!QFileInfo(firstRound).isFile())
            store::sample::writeSampleAuction(folder, sampleOptions());
    } catch (const Error& error) {
        prompter_->error(error, ErrorLayout::Command);
        return;
    }
    // The windows on show read the auction about to be closed: they go first.
    mdiArea_->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    importHost_->firstRoundFile = firstRound;
    const bool built = BatchImportAuction(*importHost_);
    importHost_->firstRoundFile.clear();
    prompter_->setStatus(1, QStringLiteral("Status"));
    if (!built || session().CurrentDatabase == nullptr)
        return;
    // Opened as an auction is: a grid window on its first table and newest round.
    newGridWindowCommand();
}

} // namespace qv::shell
