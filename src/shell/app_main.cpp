#include "shell/app_main.h"

#include "shell/command_windows.h"
#include "shell/frm_main.h"
#include "shell/frm_splash.h"
#include "shell/grid_window_factory.h"
#include "shell/sql_wizard_window.h"
#include "shell/window_placement.h"
#include "store/import/import_folder.h"
#include "store/session.h"

#include <QApplication>

namespace qv::shell {

int Main()
{
    session().LastImportFile = lastImportFilePath();

    frmSplash splash;
    splash.show();
    splash.repaint();

    frmMain main;
    main.setGridWindowFactory(gridWindowFactory());
    installCommandWindows(main);
    main.setCommandWindow(QStringLiteral("frmSql"), showSqlWizard);
    splash.holdBriefly();
    splash.close();

    return runMainWindow(main);
}

int runMainWindow(frmMain& main)
{
    bool endedAtOnce = false;
    bool looping = false;
    // Cancel or No in the opening dialog: the run ends here and now, with the
    // auction database closed but neither placement saved nor compaction. It
    // leaves through the event loop (every nested loop included), so the
    // windows and the database are released in order.
    main.setEndProgram([&endedAtOnce, &looping] {
        endedAtOnce = true;
        CloseAuctionDatabase();
        if (looping)
            QCoreApplication::exit(0);
    });

    main.show();
    main.FileOpen();
    int code = 0;
    if (!endedAtOnce) {
        looping = true;
        code = QApplication::exec();
        looping = false;
    }
    main.setEndProgram({});
    if (endedAtOnce)
        return 0;

    // The window closed (placement saved, database closed): show it once more
    // so the status bar can say what happens, then compact.
    applyPlacement(main, readPlacement());
    main.show();
    QApplication::processEvents();
    main.ReorganizeDatabase();
    main.hide();
    return code;
}

} // namespace qv::shell
