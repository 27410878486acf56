#include "shell/command_windows.h"

#include "print/frm_print_options.h"
#include "print/frm_print_preview.h"
#include "shell/frm_main.h"
#include "standings/frm_standings.h"
#include "summary/frm_summary.h"

#include <QSet>

#include <memory>

namespace qv::shell {

namespace {

// The windows that have the table commands off while they are active (the
// round summaries, the standings). One becomes active before the one it
// replaces is told it is not, so the commands follow the set of active ones,
// not the last word.
class TableCommandGate {
public:
    explicit TableCommandGate(frmMain& frame) : frame_(frame) {}

    void wanted(const QObject* window, bool enabled)
    {
        if (enabled)
            offWhileActive_.remove(window);
        else
            offWhileActive_.insert(window);
        // A frame closing down takes its commands with it.
        if (frame_.isVisible())
            frame_.setTableCommandsEnabled(offWhileActive_.isEmpty());
    }
    void forget(const QObject* window) { offWhileActive_.remove(window); }

private:
    frmMain& frame_;
    QSet<const QObject*> offWhileActive_;
};

// A modal print dialog gone, however it ended (an error message may have
// been the last window on show): the keys go to the frame and its active
// window again.
void returnFocus(frmMain& frame)
{
    frame.raise();
    frame.activateWindow();
    if (QWidget* child = frame.activeChild())
        child->setFocus(Qt::ActiveWindowFocusReason);
}

template <typename Window>
void gateTableCommands(Window* window, frmMain& frame, const std::shared_ptr<TableCommandGate>& gate)
{
    const QObject* key = window;
    QObject::connect(window, &Window::tableCommandsWanted, &frame,
                     [gate, key](bool enabled) { gate->wanted(key, enabled); });
    QObject::connect(window, &QObject::destroyed, &frame, [gate, key] { gate->forget(key); });
}

} // namespace

void installCommandWindows(frmMain& main)
{
    auto gate = std::make_shared<TableCommandGate>(main);
    // The summary opens beside the grid windows and does not wait.
    main.setCommandWindow(QStringLiteral("frmSummary"), [gate](frmMain& frame) {
        auto* summary = new summary::frmSummary(frame.prompter());
        gateTableCommands(summary, frame, gate);
        frame.addChildWindow(summary, summary->sizeHint().expandedTo(QSize(760, 420)));
        summary->Form_Load();
    });
    // The standings open beside them too, and follow the rounds as they are imported.
    main.setCommandWindow(QStringLiteral("frmStandings"), [gate](frmMain& frame) {
        auto* standings = new standings::frmStandings(frame.prompter());
        gateTableCommands(standings, frame, gate);
        QObject::connect(&frame, &frmMain::roundsChanged, standings, &standings::frmStandings::roundsChanged);
        frame.addChildWindow(standings, QSize(980, 560));
        standings->Form_Load();
    });
    main.setCommandWindow(QStringLiteral("frmPrintOptions"), [](frmMain& frame) {
        auto* options = new print::frmPrintOptions(frame.activeChild(), frame.prompter(), &frame);
        // Without a grid ("You must have an active grid displayed.") there is nothing to set up.
        if (!options->hasGrid()) {
            delete options;
            return;
        }
        options->exec();
        returnFocus(frame);
    });
    main.setCommandWindow(QStringLiteral("frmPrintPreview"), [](frmMain& frame) {
        auto* preview = new print::frmPrintPreview(frame.activeChild(), frame.prompter(), &frame);
        if (!preview->hasGrid()) {
            delete preview;
            return;
        }
        preview->exec();
        returnFocus(frame);
    });
}

} // namespace qv::shell
