#pragma once

#include "shell/grid_commands.h"
#include "shell/qt_prompter.h"
#include "store/import/import_routines.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QKeyEvent;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QComboBox;

namespace qv::store {
class Database;
struct SqlQuery;
} // namespace qv::store
namespace qv::grid {
class GridLists;
}
namespace qv::query {
using store::SqlQuery;
}

namespace qv::shell {

class frmOpeningQuestions;
class HelpWindow;
class OutsideImportNotice;

// The main window: a multiple-document frame with the menus, the toolbar and
// the status bar through which every command of the program starts.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // prompter: where messages go; the window's own dialogs when null.
    explicit frmMain(Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~frmMain() override;

    Prompter& prompter() { return *prompter_; }
    QMdiArea* mdiArea() const { return mdiArea_; }
    QWidget* activeChild() const;

    // Makes the grid windows that New and FileOpen open.
    using ChildFactory = std::function<QWidget*(frmMain&)>;
    void setGridWindowFactory(ChildFactory factory) { gridFactory_ = std::move(factory); }
    // Ends the program at once (Cancel or No in the opening dialog).
    void setEndProgram(std::function<void()> endProgram) { endProgram_ = std::move(endProgram); }
    // The help file; an empty name means none is configured.
    void setHelpFile(const QString& helpFile) { helpFile_ = helpFile; }
    const QString& helpFile() const { return helpFile_; }

    // Public routines other windows call.
    Q_INVOKABLE void FileOpen();
    Q_INVOKABLE void PopulateTables();
    Q_INVOKABLE void PopulateRounds();
    // The round summary switches the table commands off while it is active.
    Q_INVOKABLE void setTableCommandsEnabled(bool enabled);

    Q_INVOKABLE void setStatusText(int panel, const QString& text);
    QString statusText(int panel) const;
    QMenu* computeMenu() const { return mnuComp_; }
    QMenu* pageBreakMenu() const { return mnuPBreak_; }
    ImportHost& importHost() { return *importHost_; }

    // Opens a further grid window on the first table and round.
    QWidget* newGridWindow();
    // Shows a child window in the frame, as large as wanted where there is
    // room, wholly inside the frame's area; it becomes the active one.
    QMdiSubWindow* addChildWindow(QWidget* child, const QSize& wanted);
    // Runs a grid command on the active child window, with its error messages.
    void gridCommand(GridRoutine routine, const QString& argument = QString());
    // Runs a query of the SQL query wizard on the active grid window, with the
    // same error messages.
    void runQuery(const query::SqlQuery& query);
    // A menu item's handler, by the item's name; a name without one does nothing.
    void mnuClick(const QString& name);
    bool offersCommand(const QString& name) const;
    // The windows of other parts of the program that menu items show
    // ("frmSummary", "frmStandings", "frmSql", "frmPrintOptions", "frmPrintPreview").
    void setCommandWindow(const QString& name, std::function<void(frmMain&)> show);
    // A toolbar click, dispatched on the button's key.
    void tbToolBar_ButtonClick(const QString& key);
    // The status bar's mouse-up rule: true when the Compute menu was shown.
    bool sbStatusBar_MouseUp(Qt::MouseButton button, int x);

    // Writes the generated sample auction's rounds into the user's Downloads
    // folder (once), batch-imports them into a new auction and opens it in a
    // grid window (sample_auction_command.cpp).
    void openSampleAuction();

    // Saves the placement and closes the auction database, as closing does.
    void MDIForm_Unload();
    // Compacts the auction database beside itself; false after a failure,
    // which has been reported.
    bool ReorganizeDatabase();

signals:
    // A round was imported here or by another program (the windows that
    // follow the newest round refresh).
    void roundsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildCommands();
    void buildToolBar();
    void buildStatusBar();
    // Return on the Compute pop-up with no item highlighted chooses the first.
    bool computeMenuKey(QKeyEvent& key);
    void fillWindowMenu();
    void endProgram();
    // The opening dialog once, and what its answer leads to.
    void openingQuestions();
    void rebuildReleasedTables();
    void showHelp(bool search);
    void showAbout();
    void showCommandWindow(const QString& name);
    void selectFirstEntries(QWidget* grid);
    // A grid window just opened: its lists filled, the first round and table
    // chosen, its page breaks cleared.
    void showFirstEntries(QWidget* grid);
    void newGridWindowCommand();
    void importRound(bool autoImport);
    void runGridCommand(const std::function<void()>& call);
    static void toggleBar(QWidget& bar, QAction& item);
    void refillList(QComboBox& (grid::GridLists::*listOf)(), QStringList (*read)(store::Database&),
                    bool unloadOpening);
    // The menu item of that name; there always is one.
    QAction* action(const char* name) const;

    std::unique_ptr<QtPrompter> ownPrompter_;
    Prompter* prompter_ = nullptr;
    std::unique_ptr<ImportHost> importHost_;
    QMdiArea* mdiArea_ = nullptr;
    QToolBar* tbToolBar_ = nullptr;
    QLabel* panels_[3] = {};
    // The window whose selection the third panel's total was taken from.
    QPointer<QObject> totalSource_;
    QMetaObject::Connection totalSourceGone_;
    QMenu* mnuWindow_ = nullptr;
    QMenu* mnuComp_ = nullptr;
    QMenu* mnuPBreak_ = nullptr;
    QAction* mnuViewToolbar_ = nullptr;
    QAction* mnuViewStatusBar_ = nullptr;
    QHash<QString, QAction*> menuItems_;
    QHash<QString, std::function<void()>> commands_;
    QList<QAction*> tableButtons_;   // the toolbar's table commands, in order
    QList<QAction*> tableMenuItems_; // the menu's table commands, in menu order
    QList<QAction*> windowListActions_;
    QPointer<frmOpeningQuestions> openingDialog_;
    QPointer<HelpWindow> helpWindow_;
    OutsideImportNotice* importNotice_ = nullptr;
    ChildFactory gridFactory_;
    QHash<QString, std::function<void(frmMain&)>> commandWindows_;
    std::function<void()> endProgram_;
    bool ending_ = false;
    QString helpFile_ = QStringLiteral("qrc:/help/index.html");
};

} // namespace qv::shell
