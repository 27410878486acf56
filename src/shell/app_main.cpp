#include "shell/app_main.h"

#include "common/paths.h"
#include "shell/frm_main.h"
#include "shell/frm_splash.h"
#include "shell/grid_window_factory.h"
#include "shell/window_placement.h"
#include "store/session.h"

#include <QApplication>

#include <cstdlib>

namespace qv::shell {

int Main()
{
    session().LastImportFile = joinPath(applicationFolder(), QStringLiteral("lastimp.inf"));

    auto* splash = new frmSplash;
    splash->show();
    splash->repaint();

    frmMain main;
    main.setGridWindowFactory(gridWindowFactory());
    // Cancel or No in the opening dialog: the program ends here and now, with
    // the auction database closed but neither placement saved nor compaction.
    main.setEndProgram([] {
        CloseAuctionDatabase();
        std::exit(0);
    });
    splash->holdBriefly();
    delete splash;

    main.show();
    main.FileOpen();
    const int code = QApplication::exec();

    // The window closed (placement saved, database closed): show it once more
    // so the status bar can say what happens, then compact.
    applyPlacement(main, readPlacement());
    main.show();
    QApplication::processEvents();
    main.ReorganizeDatabase();
    return code;
}

} // namespace qv::shell
