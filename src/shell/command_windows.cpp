#include "shell/command_windows.h"

#include "print/frm_print_options.h"
#include "print/frm_print_preview.h"
#include "shell/frm_main.h"
#include "standings/frm_standings.h"
#include "summary/frm_summary.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace qv::shell {

void installCommandWindows(frmMain& main)
{
    // The summary opens beside the grid windows and does not wait.
    main.setCommandWindow(QStringLiteral("frmSummary"), [](frmMain& frame) {
        auto* summary = new summary::frmSummary(frame.prompter());
        QObject::connect(summary, &summary::frmSummary::tableCommandsWanted, &frame, [&frame](bool enabled) {
            // A frame closing down takes its commands with it.
            if (frame.isVisible())
                frame.setTableCommandsEnabled(enabled);
        });
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
