// The main window's menus, toolbar, status bar and how its commands reach
// the active grid window.
#include "common/error.h"
#include "grid/frm_flex_grid.h"
#include "grid/grid_routines.h"
#include "shell/frm_main.h"
#include "shell/help_window.h"
#include "shell/menu_tree.h"
#include "shell/sql_wizard_window.h"
#include "store/session.h"
#include "support/access_keys.h"
#include "support/scripted_prompter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using qv::shell::frmMain;

namespace {

// A child window that offers a few of the grid window's routines; the rest
// fail as a window without them does.
class FakeGrid : public QWidget, public qv::grid::GridRoutines {
    Q_OBJECT
    Q_INTERFACES(qv::grid::GridRoutines)
public:
    QStringList calls;
    void TableSort() override { calls << QStringLiteral("TableSort"); }
    void TableFilt() override { calls << QStringLiteral("TableFilt"); }
    void PrintGrid() override { calls << QStringLiteral("PrintGrid"); }
    void ComputeSelection(const QString& kind) override
    {
        calls << QStringLiteral("ComputeSelection ") + kind;
    }
    void DBSaveAs() override { throw qv::routineNotOffered(); }
    void MarketsAnalysis() override { throw qv::routineNotOffered(); }
    void RoundsAnalysis() override { throw qv::routineNotOffered(); }
    void BiddersAnalysis() override { throw qv::routineNotOffered(); }
    void TableReset() override { throw qv::routineNotOffered(); }
    void TableWiz() override { throw qv::routineNotOffered(); }
    void DropTable() override { throw qv::routineNotOffered(); }
    void FreezeCols() override { throw qv::routineNotOffered(); }
    void UnfreezeCols() override { throw qv::routineNotOffered(); }
    void TableSql2(const qv::query::SqlQuery&) override { throw qv::routineNotOffered(); }
};

// A child window that notes every routine the frame runs on it.
class RoutineRecorder : public QWidget, public qv::grid::GridRoutines, public qv::grid::PageBreakRoutines {
    Q_OBJECT
    Q_INTERFACES(qv::grid::GridRoutines qv::grid::PageBreakRoutines)
public:
    QStringList calls;
    void DBSaveAs() override { calls << QStringLiteral("DBSaveAs"); }
    void PrintGrid() override { calls << QStringLiteral("PrintGrid"); }
    void MarketsAnalysis() override { calls << QStringLiteral("MarketsAnalysis"); }
    void RoundsAnalysis() override { calls << QStringLiteral("RoundsAnalysis"); }
    void BiddersAnalysis() override { calls << QStringLiteral("BiddersAnalysis"); }
    void TableSort() override { calls << QStringLiteral("TableSort"); }
    void TableFilt() override { calls << QStringLiteral("TableFilt"); }
    void TableReset() override { calls << QStringLiteral("TableReset"); }
    void TableWiz() override { calls << QStringLiteral("TableWiz"); }
    void DropTable() override { calls << QStringLiteral("DropTable"); }
    void FreezeCols() override { calls << QStringLiteral("FreezeCols"); }
    void UnfreezeCols() override { calls << QStringLiteral("UnfreezeCols"); }
    void ComputeSelection(const QString& kind) override
    {
        calls << QStringLiteral("ComputeSelection ") + kind;
    }
    void TableSql2(const qv::query::SqlQuery&) override { calls << QStringLiteral("TableSql2"); }
    qv::grid::SpreadGrid& printedGrid() override { throw qv::routineNotOffered(); }
    void PBreak_SetRow() override { calls << QStringLiteral("PBreak_SetRow"); }
    void PBreak_DelRow() override { calls << QStringLiteral("PBreak_DelRow"); }
    void PBreak_SetCol() override { calls << QStringLiteral("PBreak_SetCol"); }
    void PBreak_DelCol() override { calls << QStringLiteral("PBreak_DelCol"); }
    void PBreak_Remove() override { calls << QStringLiteral("PBreak_Remove"); }
    void PBreak_Clear() override { calls << QStringLiteral("PBreak_Clear"); }
    void PBreak_Refresh() override { calls << QStringLiteral("PBreak_Refresh"); }
};

// Every menu item that runs a routine of the active grid window, and the routine.
const std::pair<const char*, const char*> menuRoutines[] = {
    {"mnuFileExport", "DBSaveAs"},
    {"mnuFilePrint", "PrintGrid"},
    {"mnuToolsAnalysisMarkets", "MarketsAnalysis"},
    {"mnuToolsAnalysisRounds", "RoundsAnalysis"},
    {"mnuToolsAnalysisBidders", "BiddersAnalysis"},
    {"mnuToolsSortTable", "TableSort"},
    {"mnuToolsFilterTable", "TableFilt"},
    {"mnuToolsResetTable", "TableReset"},
    {"mnuToolsTableWizard", "TableWiz"},
    {"mnuToolsDropTable", "DropTable"},
    {"mnuWindowFreeze", "FreezeCols"},
    {"mnuWindowUnfreeze", "UnfreezeCols"},
    {"mnuCompSum", "ComputeSelection Sum"},
    {"mnuCompAverage", "ComputeSelection Average"},
    {"mnuCompCount", "ComputeSelection Count"},
    {"mnuPBreakSetRow", "PBreak_SetRow"},
    {"mnuPBreakDelRow", "PBreak_DelRow"},
    {"mnuPBreakSetCol", "PBreak_SetCol"},
    {"mnuPBreakDelCol", "PBreak_DelCol"},
    {"mnuPBreakReset", "PBreak_Remove"},
};

struct Item {
    int level;
    const char* name;
    const char* caption;
};

const Item expectedMenus[] = {
    {1, "mnuFile", "&File"},
    {2, "mnuFileNew", "&New"},
    {2, "mnuFileBar1", ""},
    {2, "mnuFileImport", "&Import..."},
    {2, "mnuFileAutoImport", "&Auto Import"},
    {2, "mnuFileExport", "&Export..."},
    {2, "mnuFileBar3", ""},
    {2, "mnuFilePrintSetup", "Print &Setup..."},
    {2, "mnuFilePrintPreview", "Print Pre&view"},
    {2, "mnuFilePrint", "&Print..."},
    {2, "mnuFileBar4", ""},
    {2, "mnuFileExit", "E&xit"},
    {1, "mnuView", "&View"},
    {2, "mnuViewToolbar", "&Toolbar"},
    {2, "mnuViewStatusBar", "Status &Bar"},
    {2, "mnuViewSummary", "&Summary..."},
    {2, "mnuViewStandings", "St&andings..."},
    {1, "mnuTools", "&Tools"},
    {2, "mnuToolsAnalysis", "&Pivot Table Wizard"},
    {3, "mnuToolsAnalysisMarkets", "&Markets..."},
    {3, "mnuToolsAnalysisRounds", "&Rounds..."},
    {3, "mnuToolsAnalysisBidders", "&Bidders..."},
    {2, "mnuToolsExcel", "Export Table To Excel"},
    {2, "mnuToolsBar1", ""},
    {2, "mnuToolsSortTable", "&Sort Table..."},
    {2, "mnuToolsFilterTable", "&Filter Table..."},
    {2, "mnuToolsResetTable", "&Reset Table"},
    {2, "mnuToolsBar2", ""},
    {2, "mnuToolsTableWizard", "&Table Wizard..."},
    {2, "mnuToolsSQLCommandLine", "S&QL Query Builder..."},
    {2, "mnuToolsDropTable", "&Drop Table"},
    {1, "mnuWindow", "&Window"},
    {2, "mnuWindowNewWindow", "&New Window"},
    {2, "mnuWindowBar1", ""},
    {2, "mnuWindowFreeze", "&Freeze Columns"},
    {2, "mnuWindowUnfreeze", "&Unfreeze Columns"},
    {2, "mnuWindowBar2", ""},
    {2, "mnuWindowCascade", "&Cascade"},
    {2, "mnuWindowTileHorizontal", "Tile &Horizontal"},
    {2, "mnuWindowTileVertical", "Tile &Vertical"},
    {2, "mnuWindowArrangeIcons", "&Arrange Icons"},
    {1, "mnuHelp", "&Help"},
    {2, "mnuHelpContents", "&Contents"},
    {2, "mnuHelpSearch", "&Search For Help On..."},
    {2, "mnuHelpSample", "Open the Sa&mple Auction"},
    {2, "mnuHelpBar1", ""},
    {2, "mnuHelpAbout", "&About Quorvane..."},
    {1, "mnuComp", "Compute"},
    {2, "mnuCompSum", "Sum"},
    {2, "mnuCompAverage", "Average"},
    {2, "mnuCompCount", "Count"},
    {1, "mnuPBreak", "Page Breaks"},
    {2, "mnuPBreakSetRow", "Set Row Page Break"},
    {2, "mnuPBreakDelRow", "Delete Row Page Break"},
    {2, "mnuPBreak_Line1", ""},
    {2, "mnuPBreakSetCol", "Set Column Page Break"},
    {2, "mnuPBreakDelCol", "Delete Column Page Break"},
    {2, "mnuPBreak_Line2", ""},
    {2, "mnuPBreakReset", "Reset Page Breaks"},
};

QString line(int level, const QString& name, const QString& caption)
{
    return QString::number(level) + QLatin1Char(' ') + name + QLatin1Char(' ') + caption;
}

void walk(QMenu* menu, int level, QStringList& out)
{
    out << line(level, menu->objectName(), menu->title());
    const QList<QAction*> actions = menu->actions();
    for (QAction* action : actions) {
        if (action->menu() != nullptr)
            walk(action->menu(), level + 1, out);
        else
            out << line(level + 1, action->objectName(), action->isSeparator() ? QString() : action->text());
    }
}

const QString noGridText = QStringLiteral("  A data grid must be opened to use this function.\r"
                                          "Open a data grid with the New button and try again");

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        prompter_ = std::make_unique<qv::test::ScriptedPrompter>();
        main_ = std::make_unique<frmMain>(prompter_.get());
    }
    void cleanup() { main_.reset(); }

    void menuTreeMatchesTheTable()
    {
        QStringList actual;
        const QList<QAction*> bar = main_->menuBar()->actions();
        for (QAction* top : bar)
            walk(top->menu(), 1, actual);
        walk(main_->computeMenu(), 1, actual);
        walk(main_->pageBreakMenu(), 1, actual);
        QStringList expected;
        for (const Item& item : expectedMenus)
            expected << line(item.level, QLatin1String(item.name), QLatin1String(item.caption));
        QCOMPARE(actual, expected);
        // Each item's access key reaches that item.
        for (QAction* top : bar)
            QCOMPARE(qv::test::repeatedAccessKeys(*top->menu()), QStringList());
    }

    // Each menu item runs its own routine on the active window, a real grid
    // window offers every one of them, and any other window none (438).
    void everyMenuRoutineIsWiredToTheGridWindow()
    {
        QStringList tableItems;
        for (int i = 0; i < qv::shell::menuTreeSize; ++i)
            if (qv::shell::menuTree[i].routine != qv::shell::GridRoutine::None)
                tableItems << QLatin1String(qv::shell::menuTree[i].name);
        QCOMPARE(tableItems.size(), int(std::size(menuRoutines)));

        auto* recorder = new RoutineRecorder;
        main_->mdiArea()->addSubWindow(recorder)->show();
        for (const auto& [item, routine] : menuRoutines) {
            QVERIFY2(tableItems.contains(QLatin1String(item)), item);
            recorder->calls.clear();
            main_->findChild<QAction*>(QLatin1String(item))->trigger();
            QCOMPARE(recorder->calls, QStringList{QLatin1String(routine)});
        }
        QVERIFY(prompter_->messages.empty());

        qv::grid::frmFlexGrid grid(*prompter_);
        auto* other = new QWidget;
        main_->mdiArea()->addSubWindow(other)->show();
        for (int i = 0; i < qv::shell::menuTreeSize; ++i) {
            const qv::shell::MenuItem& item = qv::shell::menuTree[i];
            if (item.routine == qv::shell::GridRoutine::None)
                continue;
            const QString caption = QString::fromUtf8(item.caption);
            QVERIFY2(qv::shell::resolveGridRoutine(&grid, item.routine, caption) != nullptr, item.name);
            prompter_->messages.clear();
            main_->mnuClick(QLatin1String(item.name));
            QCOMPARE(prompter_->messages.size(), size_t(1));
            QCOMPARE(prompter_->messages[0].text,
                     QStringLiteral("Error: 438 Object doesn't support this property or method"));
        }
    }

    void menuDetails()
    {
        auto find = [this](const char* name) { return main_->findChild<QAction*>(QLatin1String(name)); };
        QCOMPARE(find("mnuFilePrint")->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
        QVERIFY(find("mnuViewToolbar")->isChecked());
        QVERIFY(find("mnuViewStatusBar")->isChecked());
        QVERIFY(!find("mnuToolsExcel")->isVisible());
        // Compute and Page Breaks are pop-up menus only.
        const QList<QAction*> bar = main_->menuBar()->actions();
        QCOMPARE(bar.size(), 5);
        for (const char* name : {"mnuFileNew", "mnuFileImport", "mnuToolsSortTable", "mnuHelpAbout"})
            QVERIFY(find(name)->isEnabled());
    }

    void toolbarButtonsInOrder()
    {
        auto* toolbar = main_->findChild<QToolBar*>(QStringLiteral("tbToolBar"));
        QVERIFY(toolbar != nullptr);
        QStringList keys;
        QStringList tips;
        const QList<QAction*> buttons = toolbar->actions();
        for (QAction* button : buttons) {
            keys << (button->isSeparator() ? QStringLiteral("|") : button->data().toString());
            tips << (button->isSeparator() ? QStringLiteral("|") : button->toolTip());
            if (!button->isSeparator())
                QVERIFY2(!button->icon().isNull(), qPrintable(button->data().toString()));
        }
        QCOMPARE(keys.join(QLatin1Char(',')),
                 QStringLiteral(
                     "New,Import,|,PrintPreview,Print,|,Sort,Filter,Reset,|,TableWizard,SQL,DropTable,|,"
                     "ExcelExp"));
        QCOMPARE(
            tips.join(QLatin1Char(',')),
            QStringLiteral("New,Import Next Round,|,Print Preview,Print,|,Sort...,Filter...,Reset Table,|,"
                           "Table Wizard...,SQL Query Builder...,Drop Table,|,Export Table To Excel"));
    }

    void gridCommandsWithoutAWindowShowTheNoGridMessage()
    {
        const char* const commands[] = {"mnuFileExport",           "mnuFilePrint",
                                        "mnuToolsAnalysisMarkets", "mnuToolsAnalysisRounds",
                                        "mnuToolsAnalysisBidders", "mnuToolsSortTable",
                                        "mnuToolsFilterTable",     "mnuToolsResetTable",
                                        "mnuToolsTableWizard",     "mnuToolsDropTable",
                                        "mnuWindowFreeze",         "mnuWindowUnfreeze"};
        for (const char* command : commands) {
            prompter_->messages.clear();
            main_->mnuClick(QLatin1String(command));
            QCOMPARE(prompter_->messages.size(), size_t(1));
            QCOMPARE(prompter_->messages[0].text, noGridText);
            QCOMPARE(prompter_->messages[0].title, QStringLiteral("Error"));
            QCOMPARE(prompter_->messages[0].icon, qv::Icon::Exclamation);
        }
        for (const char* key : {"Print", "Sort", "Filter", "Reset", "TableWizard", "DropTable"}) {
            prompter_->messages.clear();
            main_->tbToolBar_ButtonClick(QLatin1String(key));
            QCOMPARE(prompter_->messages.size(), size_t(1));
            QCOMPARE(prompter_->messages[0].text, noGridText);
        }
    }

    void gridCommandsReachTheActiveWindow()
    {
        auto* grid = new FakeGrid;
        main_->mdiArea()->addSubWindow(grid)->show();
        main_->mnuClick(QStringLiteral("mnuToolsSortTable"));
        main_->tbToolBar_ButtonClick(QStringLiteral("Filter"));
        main_->findChild<QAction*>(QStringLiteral("mnuCompAverage"))->trigger();
        QCOMPARE(grid->calls, (QStringList{QStringLiteral("TableSort"), QStringLiteral("TableFilt"),
                                           QStringLiteral("ComputeSelection Average")}));
        main_->mnuClick(QStringLiteral("mnuFilePrint"));
        QCOMPARE(grid->calls.last(), QStringLiteral("PrintGrid"));
        QVERIFY(prompter_->messages.empty());

        // Ctrl+P runs Print.
        main_->show();
        main_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main_.get()));
        QTest::keyClick(main_.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(grid->calls.count(QStringLiteral("PrintGrid")), 2);

        // Return on the Compute pop-up: the first item when none is
        // highlighted, else the highlighted one.
        const int third =
            main_->statusBar()->findChild<QLabel*>(QStringLiteral("sbPanel3"))->geometry().center().x();
        QMenu* compute = main_->computeMenu();
        QVERIFY(main_->sbStatusBar_MouseUp(Qt::RightButton, third));
        QVERIFY(QTest::qWaitForWindowExposed(compute));
        compute->setActiveAction(nullptr);
        QTest::keyClick(compute, Qt::Key_Return);
        QCOMPARE(grid->calls.last(), QStringLiteral("ComputeSelection Sum"));
        QVERIFY(!compute->isVisible());
        QVERIFY(main_->sbStatusBar_MouseUp(Qt::RightButton, third));
        QVERIFY(QTest::qWaitForWindowExposed(compute));
        compute->setActiveAction(main_->findChild<QAction*>(QStringLiteral("mnuCompCount")));
        QTest::keyClick(compute, Qt::Key_Return);
        QCOMPARE(grid->calls.last(), QStringLiteral("ComputeSelection Count"));

        // A routine the window does not offer.
        main_->mnuClick(QStringLiteral("mnuToolsDropTable"));
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(prompter_->messages[0].text,
                 QStringLiteral("Error: 438 Object doesn't support this property or method"));
        QCOMPARE(prompter_->messages[0].title, QString());
    }

    void excelButtonAndUnknownKeysDoNothing()
    {
        main_->tbToolBar_ButtonClick(QStringLiteral("ExcelExp"));
        main_->tbToolBar_ButtonClick(QStringLiteral("new"));
        main_->findChild<QAction*>(QStringLiteral("mnuToolsExcel"))->trigger();
        QVERIFY(prompter_->messages.empty());
        QVERIFY(main_->mdiArea()->subWindowList().isEmpty());
    }

    void viewTogglesTwiceRestoreTheBars()
    {
        main_->show();
        auto* toolbar = main_->findChild<QToolBar*>(QStringLiteral("tbToolBar"));
        QAction* item = main_->findChild<QAction*>(QStringLiteral("mnuViewToolbar"));
        item->trigger();
        QVERIFY(toolbar->isHidden());
        QVERIFY(!item->isChecked());
        main_->mnuClick(QStringLiteral("mnuViewToolbar"));
        QVERIFY(!toolbar->isHidden());
        QVERIFY(item->isChecked());
        main_->mnuClick(QStringLiteral("mnuViewStatusBar"));
        QVERIFY(main_->statusBar()->isHidden());
        QVERIFY(!main_->findChild<QAction*>(QStringLiteral("mnuViewStatusBar"))->isChecked());
    }

    void statusBarRightClickRule()
    {
        main_->resize(900, 500);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
        QCOMPARE(main_->statusText(1), QStringLiteral("Status"));
        QVERIFY(!main_->statusText(2).isEmpty());
        const auto* second = main_->statusBar()->findChild<QLabel*>(QStringLiteral("sbPanel2"));
        const int edge = second->geometry().right();
        QVERIFY(!main_->sbStatusBar_MouseUp(Qt::LeftButton, edge + 20));
        QVERIFY(!main_->sbStatusBar_MouseUp(Qt::RightButton, edge - 5));
        QVERIFY(!main_->computeMenu()->isVisible());
        QVERIFY(main_->sbStatusBar_MouseUp(Qt::RightButton, edge + 20));
        QVERIFY(main_->computeMenu()->isVisible());
        main_->computeMenu()->close();

        // The real mouse, over the third panel, which says what a right click offers.
        auto* third = main_->statusBar()->findChild<QLabel*>(QStringLiteral("sbPanel3"));
        for (const char* word : {"Right-click", "Sum", "Average", "Count"})
            QVERIFY(third->toolTip().contains(QLatin1String(word)));
        QTest::mouseRelease(third, Qt::RightButton, {}, QPoint(5, 5));
        QVERIFY(main_->computeMenu()->isVisible());
        main_->computeMenu()->close();
    }

    void helpWithoutAHelpFile()
    {
        main_->setHelpFile(QString());
        main_->mnuClick(QStringLiteral("mnuHelpContents"));
        main_->mnuClick(QStringLiteral("mnuHelpSearch"));
        QCOMPARE(prompter_->messages.size(), size_t(2));
        for (const auto& message : prompter_->messages) {
            QCOMPARE(message.text,
                     QStringLiteral("Unable to display Help Contents. There is no Help associated "
                                    "with this project."));
            QCOMPARE(message.icon, qv::Icon::Information);
            QCOMPARE(message.title, QStringLiteral("Quorvane"));
        }
    }

    void helpOpensAtContentsAndSearches()
    {
        main_->mnuClick(QStringLiteral("mnuHelpSearch"));
        auto* help = main_->findChild<qv::shell::HelpWindow*>();
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
        QVERIFY(help->search(QString()).size() >= 5);
        QVERIFY(help->search(QStringLiteral("batch import")).contains(QStringLiteral("Getting started")));
        QVERIFY(help->search(QStringLiteral("nonexistentword")).isEmpty());
        // Every picture a page shows is in the help, and each window's page has its picture.
        QSet<QString> shown;
        const QDir pages(QStringLiteral(":/help"));
        for (const QString& page : pages.entryList({QStringLiteral("*.html")})) {
            QFile file(pages.filePath(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            static const QRegularExpression image(QStringLiteral("<img src=\"([^\"]+)\""));
            for (const QRegularExpressionMatch& m : image.globalMatch(QString::fromUtf8(file.readAll()))) {
                QVERIFY2(QImage(pages.filePath(m.captured(1))).width() > 0, qPrintable(page + m.captured(1)));
                shown << page;
            }
        }
        for (const char* page :
             {"grid-windows.html", "summary-printing.html", "export-drop-queries.html", "pivot-analyses.html",
              "pivot-charts.html", "table-tools.html", "standings.html"})
            QVERIFY2(shown.contains(QLatin1String(page)), page);
    }

    // The help and the SQL query wizard open over the main window, but wholly
    // on the screen when the main window sits low and to the right.
    void windowsOfTheirOwnOpenWithinTheScreen()
    {
        const QRect screen = main_->screen()->availableGeometry();
        main_->resize(433, 433);
        main_->move(screen.right() - 300, screen.bottom() - 200);
        main_->show();
        main_->mnuClick(QStringLiteral("mnuHelpContents"));
        qv::shell::showSqlWizard(*main_);
        auto* help = main_->findChild<qv::shell::HelpWindow*>();
        auto* wizard = main_->findChild<QWidget*>(QStringLiteral("frmSql"));
        QVERIFY(help != nullptr && wizard != nullptr);
        for (QWidget* window : {static_cast<QWidget*>(help), wizard}) {
            QVERIFY(window->isVisible());
            QVERIFY2(screen.contains(window->frameGeometry()), qPrintable(window->objectName()));
            QVERIFY2(window->frameGeometry().intersects(main_->frameGeometry()),
                     qPrintable(window->objectName()));
        }
    }

    void tableCommandsSwitchOffExactlyTheSummarysList()
    {
        // Toolbar buttons 4 to 15 (separators counted) and these 26 items.
        const QStringList tableItems = {QStringLiteral("mnuCompAverage"),
                                        QStringLiteral("mnuCompCount"),
                                        QStringLiteral("mnuCompSum"),
                                        QStringLiteral("mnuFileExport"),
                                        QStringLiteral("mnuFilePrint"),
                                        QStringLiteral("mnuFilePrintPreview"),
                                        QStringLiteral("mnuFilePrintSetup"),
                                        QStringLiteral("mnuPBreakDelCol"),
                                        QStringLiteral("mnuPBreakDelRow"),
                                        QStringLiteral("mnuPBreakReset"),
                                        QStringLiteral("mnuPBreakSetCol"),
                                        QStringLiteral("mnuPBreakSetRow"),
                                        QStringLiteral("mnuToolsAnalysis"),
                                        QStringLiteral("mnuToolsAnalysisBidders"),
                                        QStringLiteral("mnuToolsAnalysisMarkets"),
                                        QStringLiteral("mnuToolsAnalysisRounds"),
                                        QStringLiteral("mnuToolsDropTable"),
                                        QStringLiteral("mnuToolsExcel"),
                                        QStringLiteral("mnuToolsFilterTable"),
                                        QStringLiteral("mnuToolsResetTable"),
                                        QStringLiteral("mnuToolsSortTable"),
                                        QStringLiteral("mnuToolsSQLCommandLine"),
                                        QStringLiteral("mnuToolsTableWizard"),
                                        QStringLiteral("mnuViewSummary"),
                                        QStringLiteral("mnuWindowFreeze"),
                                        QStringLiteral("mnuWindowUnfreeze")};
        QCOMPARE(tableItems.size(), 26);
        const QList<QAction*> buttons = main_->findChild<QToolBar*>(QStringLiteral("tbToolBar"))->actions();
        QCOMPARE(buttons.size(), 15);
        QList<QAction*> menuItems;
        const QList<QAction*> bar = main_->menuBar()->actions();
        for (QAction* top : bar)
            menuItems << top->menu()->actions();
        menuItems << main_->computeMenu()->actions() << main_->pageBreakMenu()->actions();
        menuItems << main_->findChild<QMenu*>(QStringLiteral("mnuToolsAnalysis"))->actions();

        auto check = [&](bool summaryActive) {
            for (qsizetype i = 0; i < buttons.size(); ++i)
                QVERIFY2(buttons[i]->isEnabled() == (!summaryActive || i < 3),
                         qPrintable(QString::number(i + 1)));
            int switched = 0;
            for (QAction* item : std::as_const(menuItems)) {
                if (item->isSeparator())
                    continue;
                const bool table = tableItems.contains(item->objectName());
                switched += table ? 1 : 0;
                // A hidden item ("Export Table To Excel") is never enabled.
                if (!item->isVisible())
                    continue;
                QVERIFY2(item->isEnabled() == (!summaryActive || !table), qPrintable(item->objectName()));
            }
            QCOMPARE(switched, 26);
        };
        check(false);
        main_->setTableCommandsEnabled(false);
        check(true);
        // Enabling is unconditional, whatever the items were before.
        main_->findChild<QAction*>(QStringLiteral("mnuToolsSortTable"))->setEnabled(false);
        main_->setTableCommandsEnabled(true);
        check(false);
    }

    void everyMenuItemHasItsHandler()
    {
        // A misspelt name in the handler table would leave an item dead.
        for (const Item& item : expectedMenus) {
            const QString name = QLatin1String(item.name);
            const bool leaf =
                item.level > 1 && *item.caption != '\0' && name != QLatin1String("mnuToolsAnalysis");
            const bool expected = leaf && name != QLatin1String("mnuToolsExcel");
            QVERIFY2(main_->offersCommand(name) == expected, item.name);
        }
    }

    void importWithoutAnAuctionShowsTheGenericError()
    {
        // After "Wrong File" at start-up, a No to replacing an auction or a
        // failed open, no auction is open.
        QVERIFY(qv::session().CurrentDatabase == nullptr);
        main_->mnuClick(QStringLiteral("mnuFileImport"));
        main_->mnuClick(QStringLiteral("mnuFileAutoImport"));
        main_->tbToolBar_ButtonClick(QStringLiteral("Import"));
        QCOMPARE(prompter_->messages.size(), size_t(3));
        for (const auto& message : prompter_->messages) {
            QCOMPARE(message.text, QStringLiteral("Error:91 Object variable or With block variable not set\r"
                                                  "Open an auction first."));
            QCOMPARE(message.title, QStringLiteral("Quorvane"));
            QVERIFY(message.isError);
        }
        QVERIFY(prompter_->fileChoices.empty());
        QCOMPARE(prompter_->busyDepth, 0);
        // The program goes on: the frame still answers.
        prompter_->messages.clear();
        main_->mnuClick(QStringLiteral("mnuToolsSortTable"));
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QCOMPARE(prompter_->messages[0].text, noGridText);
    }

    void arrangeCommandsTileAndCascade()
    {
        main_->resize(900, 700);
        main_->show();
        auto* a = main_->mdiArea()->addSubWindow(new FakeGrid);
        auto* b = main_->mdiArea()->addSubWindow(new FakeGrid);
        a->show();
        b->show();
        main_->mnuClick(QStringLiteral("mnuWindowTileHorizontal"));
        QCOMPARE(a->x(), b->x());
        QVERIFY(a->y() != b->y());
        QCOMPARE(a->width(), main_->mdiArea()->viewport()->width());
        main_->mnuClick(QStringLiteral("mnuWindowTileVertical"));
        QCOMPARE(a->y(), b->y());
        QVERIFY(a->x() != b->x());
        QCOMPARE(a->height(), main_->mdiArea()->viewport()->height());
    }

private:
    QTemporaryDir config_;
    std::unique_ptr<qv::test::ScriptedPrompter> prompter_;
    std::unique_ptr<frmMain> main_;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
