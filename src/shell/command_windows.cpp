#include "shell/command_windows.h"

#include "print/frm_print_options.h"
#include "print/frm_print_preview.h"
#include "shell/frm_main.h"
#include "standings/frm_standings.h"
#include "summary/frm_summary.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSet>

#include <memory>

namespace qv::shell {

void installCommandWindows(frmMain& main)
{
    // The summaries that are active: one becomes active before the one it
    // replaces is told it is not, so the commands follow the set, not the last word.
    auto activeSummaries = std::make_shared<QSet<const QObject*>>();
    // The summary opens beside the grid windows and does not wait.
    main.setCommandWindow(QStringLiteral("frmSummary"), [activeSummaries](frmMain& frame) {
        auto* summary = new summary::frmSummary(frame.prompter());
        const QObject* key = summary;
        QObject::connect(summary, &summary::frmSummary::tableCommandsWanted, &frame,
                         [&frame, key, activeSummaries](bool enabled) {
                             if (enabled)
                                 activeSummaries->remove(key);
                             else
                                 activeSummaries->insert(key);
                             // A frame closing down takes its commands with it.
                             if (frame.isVisible())
                                 frame.setTableCommandsEnabled(activeSummaries->isEmpty());
                         });
        QObject::connect(summary, &QObject::destroyed, &frame,
                         [key, activeSummaries] { activeSummaries->remove(key); });
        QMdiSubWindow* window = frame.mdiArea()->addSubWindow(summary);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->resize(summary->sizeHint().expandedTo(QSize(760, 420)));
        summary->show();
        frame.mdiArea()->setActiveSubWindow(window);
        summary->Form_Load();
    });
    // The standings open beside them too, and follow the rounds as they are imported.
    main.setCommandWindow(QStringLiteral("frmStandings"), [](frmMain& frame) {
        auto* standings = new standings::frmStandings(frame.prompter());
        QObject::connect(standings, &standings::frmStandings::tableCommandsWanted, &frame,
                         [&frame](bool enabled) {
                             if (frame.isVisible())
                                 frame.setTableCommandsEnabled(enabled);
                         });
        QObject::connect(&frame, &frmMain::roundsChanged, standings, &standings::frmStandings::roundsChanged);
        QMdiSubWindow* window = frame.mdiArea()->addSubWindow(standings);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->resize(QSize(980, 560));
        standings->show();
        frame.mdiArea()->setActiveSubWindow(window);
        standings->Form_Load();
    });
    main.setCommandWindow(QStringLiteral("frmPrintOptions"), [](frmMain& frame) {
        auto* options = new print::frmPrintOptions(frame.activeChild(), frame.prompter(), &frame);
        options->exec();
    });
    main.setCommandWindow(QStringLiteral("frmPrintPreview"), [](frmMain& frame) {
        auto* preview = new print::frmPrintPreview(frame.activeChild(), frame.prompter(), &frame);
        preview->exec();
    });
}

} // namespace qv::shell
