// The main window's menus and toolbar, and where each of their commands goes.
#include "shell/frm_main.h"

#include "common/error.h"
#include "shell/late_call.h"
#include "shell/menu_tree.h"
#include "shell/toolbar_icons.h"
#include "shell/window_arranger.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace qv::shell {

namespace {

// Items that act on a table: the round summary switches them off.
const char* const tableCommands[] = {
    "mnuFileExport",       "mnuFilePrintSetup",       "mnuFilePrintPreview",    "mnuFilePrint",
    "mnuToolsAnalysis",    "mnuToolsSortTable",       "mnuToolsFilterTable",    "mnuToolsResetTable",
    "mnuToolsTableWizard", "mnuToolsSQLCommandLine",  "mnuToolsDropTable",      "mnuWindowFreeze",
    "mnuWindowUnfreeze",   "mnuToolsAnalysisMarkets", "mnuToolsAnalysisRounds", "mnuToolsAnalysisBidders",
};

} // namespace

void frmMain::buildMenus()
{
    QMenu* levelMenus[3] = {};
    for (int i = 0; i < menuTreeSize; ++i) {
        const MenuItem& item = menuTree[i];
        const QString name = QLatin1String(item.name);
        const QString caption = QString::fromUtf8(item.caption);
        const bool hasChildren = i + 1 < menuTreeSize && menuTree[i + 1].level > item.level;
        if (item.level == 1) {
            auto* menu = new QMenu(caption, this);
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            // Compute and Page Breaks are pop-up menus only.
            if (name != QLatin1String("mnuComp") && name != QLatin1String("mnuPBreak"))
                menuBar()->addMenu(menu);
            levelMenus[0] = menu;
            if (name == QLatin1String("mnuWindow"))
                mnuWindow_ = menu;
            else if (name == QLatin1String("mnuComp"))
                mnuComp_ = menu;
            else if (name == QLatin1String("mnuPBreak"))
                mnuPBreak_ = menu;
            continue;
        }
        QMenu* parentMenu = levelMenus[item.level - 2];
        if (hasChildren) {
            QMenu* submenu = parentMenu->addMenu(caption);
            submenu->setObjectName(name);
            submenu->menuAction()->setObjectName(name);
            levelMenus[item.level - 1] = submenu;
            continue;
        }
        QAction* action = nullptr;
        if (caption == QLatin1String("-")) {
            action = parentMenu->addSeparator();
        } else {
            action = parentMenu->addAction(caption);
            connect(action, &QAction::triggered, this, [this, name] { mnuClick(name); });
        }
        action->setObjectName(name);
    }

    action("mnuFilePrint")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    action("mnuFilePrint")->setShortcutContext(Qt::ApplicationShortcut);
    for (const char* toggle : {"mnuViewToolbar", "mnuViewStatusBar"}) {
        action(toggle)->setCheckable(true);
        action(toggle)->setChecked(true);
    }
    action("mnuToolsExcel")->setVisible(false);

    connect(mnuWindow_, &QMenu::aboutToShow, this, &frmMain::fillWindowMenu);
}

QAction* frmMain::action(const char* name) const
{
    const QList<QAction*> found = findChildren<QAction*>(QLatin1String(name));
    return found.isEmpty() ? nullptr : found.first();
}

void frmMain::buildToolBar()
{
    tbToolBar_ = addToolBar(QStringLiteral("Toolbar"));
    tbToolBar_->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar_->setMovable(false);
    tbToolBar_->setIconSize(QSize(24, 24));
    for (int i = 0; i < toolButtonCount; ++i) {
        const ToolButton& button = toolButtons[i];
        if (button.key == nullptr) {
            tbToolBar_->addSeparator();
            continue;
        }
        const QString key = QLatin1String(button.key);
        QAction* tool = tbToolBar_->addAction(toolIcon(key), QLatin1String(button.tooltip));
        tool->setObjectName(QStringLiteral("tb") + key);
        tool->setData(key);
        tool->setToolTip(QLatin1String(button.tooltip));
        connect(tool, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
    }
}

void frmMain::tbToolBar_ButtonClick(const QString& key)
{
    for (int i = 0; i < toolButtonCount; ++i) {
        const ToolButton& button = toolButtons[i];
        if (button.key != nullptr && key == QLatin1String(button.key)) {
            if (button.menuItem != nullptr)
                mnuClick(QLatin1String(button.menuItem));
            return;
        }
    }
}

void frmMain::setCommandWindow(const QString& name, std::function<void(frmMain&)> show)
{
    commandWindows_.insert(name, std::move(show));
}

void frmMain::showCommandWindow(const QString& name)
{
    const auto show = commandWindows_.value(name);
    if (show) {
        show(*this);
        return;
    }
    prompter_->errorMessage(errorText(ErrorLayout::Command, err::NoSuchRoutine,
                                      QStringLiteral("Object doesn't support this property or method")),
                            QString());
}

void frmMain::mnuClick(const QString& name)
{
    for (int i = 0; i < menuTreeSize; ++i) {
        const MenuItem& item = menuTree[i];
        if (item.routine == nullptr || name != QLatin1String(item.name))
            continue;
        if (name.startsWith(QLatin1String("mnuComp")))
            gridCommand(item.routine, QString::fromUtf8(item.caption));
        else
            gridCommand(item.routine);
        return;
    }

    if (name == QLatin1String("mnuFileNew") || name == QLatin1String("mnuWindowNewWindow")) {
        try {
            QWidget* grid = newGridWindow();
            PopulateTables();
            PopulateRounds();
            selectFirstEntries(grid);
            callIfOffered(activeChild(), "PBreak_Clear");
            callIfOffered(activeChild(), "PBreak_Refresh");
        } catch (const Error& error) {
            prompter_->error(error, ErrorLayout::Command);
        }
    } else if (name == QLatin1String("mnuFileImport")) {
        ImportRound(*importHost_, false);
    } else if (name == QLatin1String("mnuFileAutoImport")) {
        ImportRound(*importHost_, true);
    } else if (name == QLatin1String("mnuFilePrintSetup")) {
        showCommandWindow(QStringLiteral("frmPrintOptions"));
    } else if (name == QLatin1String("mnuFilePrintPreview")) {
        showCommandWindow(QStringLiteral("frmPrintPreview"));
    } else if (name == QLatin1String("mnuViewSummary")) {
        showCommandWindow(QStringLiteral("frmSummary"));
    } else if (name == QLatin1String("mnuToolsSQLCommandLine")) {
        showCommandWindow(QStringLiteral("frmSql"));
    } else if (name == QLatin1String("mnuFileExit")) {
        close();
    } else if (name == QLatin1String("mnuViewToolbar")) {
        const bool show = tbToolBar_->isHidden();
        tbToolBar_->setVisible(show);
        action("mnuViewToolbar")->setChecked(show);
    } else if (name == QLatin1String("mnuViewStatusBar")) {
        const bool show = statusBar()->isHidden();
        statusBar()->setVisible(show);
        action("mnuViewStatusBar")->setChecked(show);
    } else if (name == QLatin1String("mnuWindowCascade")) {
        arrangeWindows(*mdiArea_, 0);
    } else if (name == QLatin1String("mnuWindowTileHorizontal")) {
        arrangeWindows(*mdiArea_, 1);
    } else if (name == QLatin1String("mnuWindowTileVertical")) {
        arrangeWindows(*mdiArea_, 2);
    } else if (name == QLatin1String("mnuWindowArrangeIcons")) {
        arrangeWindows(*mdiArea_, 3);
    } else if (name == QLatin1String("mnuHelpContents")) {
        showHelp(false);
    } else if (name == QLatin1String("mnuHelpSearch")) {
        showHelp(true);
    } else if (name == QLatin1String("mnuHelpAbout")) {
        showAbout();
    }
}

void frmMain::fillWindowMenu()
{
    for (QAction* old : std::as_const(windowListActions_)) {
        mnuWindow_->removeAction(old);
        old->deleteLater();
    }
    windowListActions_.clear();
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    windowListActions_ << mnuWindow_->addSeparator();
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        QString caption = window->windowTitle();
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = mnuWindow_->addAction(QStringLiteral("&") + QString::number(number++) +
                                               QLatin1Char(' ') + caption);
        entry->setCheckable(true);
        entry->setChecked(window == mdiArea_->currentSubWindow());
        connect(entry, &QAction::triggered, this, [this, window] { mdiArea_->setActiveSubWindow(window); });
        windowListActions_ << entry;
    }
}

void frmMain::setTableCommandsEnabled(bool enabled)
{
    for (const char* name : tableCommands) {
        if (QAction* item = action(name))
            item->setEnabled(enabled);
    }
    // Every button from the fourth on (separators counted).
    const QList<QAction*> buttons = tbToolBar_->actions();
    for (qsizetype i = 3; i < buttons.size(); ++i)
        buttons[i]->setEnabled(enabled);
}

} // namespace qv::shell
