// The main window's menus and toolbar, and where each of their commands goes.
#include "shell/frm_main.h"

#include "common/error.h"
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
            menuItems_.insert(name, menu->menuAction());
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
            menuItems_.insert(name, submenu->menuAction());
            if (item.tableCommand)
                tableMenuItems_.append(submenu->menuAction());
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
        menuItems_.insert(name, action);
        if (item.tableCommand)
            tableMenuItems_.append(action);
    }

    QAction* print = action("mnuFilePrint");
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    print->setShortcutContext(Qt::ApplicationShortcut);
    mnuViewToolbar_ = action("mnuViewToolbar");
    mnuViewStatusBar_ = action("mnuViewStatusBar");
    for (QAction* toggle : {mnuViewToolbar_, mnuViewStatusBar_}) {
        toggle->setCheckable(true);
        toggle->setChecked(true);
    }
    action("mnuToolsExcel")->setVisible(false);

    connect(mnuWindow_, &QMenu::aboutToShow, this, &frmMain::fillWindowMenu);
}

QAction* frmMain::action(const char* name) const
{
    QAction* item = menuItems_.value(QLatin1String(name));
    // Every name the program asks for is in the menu tree: a miss is a slip in
    // the code, found on the first start.
    if (item == nullptr)
        qFatal("The menu tree has no item %s", name);
    return item;
}

void frmMain::buildToolBar()
{
    tbToolBar_ = addToolBar(QStringLiteral("Toolbar"));
    tbToolBar_->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar_->setMovable(false);
    tbToolBar_->setIconSize(QSize(24, 24));
    for (int i = 0; i < toolButtonCount; ++i) {
        const ToolButton& button = toolButtons[i];
        QAction* tool = nullptr;
        if (button.key == nullptr) {
            tool = tbToolBar_->addSeparator();
        } else {
            const QString key = QLatin1String(button.key);
            tool = tbToolBar_->addAction(toolIcon(key), QLatin1String(button.tooltip));
            tool->setObjectName(QStringLiteral("tb") + key);
            tool->setData(key);
            tool->setToolTip(QLatin1String(button.tooltip));
            connect(tool, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
        }
        if (button.tableCommand)
            tableButtons_.append(tool);
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
    prompter_->errorMessage(errorText(ErrorLayout::Command, routineNotOffered()), QString());
}

void frmMain::buildCommands()
{
    // Items that run a routine of the active grid window.
    for (int i = 0; i < menuTreeSize; ++i) {
        const MenuItem& item = menuTree[i];
        if (item.routine == GridRoutine::None)
            continue;
        // The Compute items hand over their caption: "Sum", "Average" or "Count".
        const QString argument =
            item.routine == GridRoutine::ComputeSelection ? QString::fromUtf8(item.caption) : QString();
        const GridRoutine routine = item.routine;
        commands_.insert(QLatin1String(item.name),
                         [this, routine, argument] { gridCommand(routine, argument); });
    }

    // The frame's own commands. "Export Table To Excel" has none: it does nothing.
    const std::pair<const char*, std::function<void()>> own[] = {
        {"mnuFileNew", [this] { newGridWindowCommand(); }},
        {"mnuWindowNewWindow", [this] { newGridWindowCommand(); }},
        {"mnuFileImport", [this] { importRound(false); }},
        {"mnuFileAutoImport", [this] { importRound(true); }},
        {"mnuFilePrintSetup", [this] { showCommandWindow(QStringLiteral("frmPrintOptions")); }},
        {"mnuFilePrintPreview", [this] { showCommandWindow(QStringLiteral("frmPrintPreview")); }},
        {"mnuFileExit", [this] { close(); }},
        {"mnuViewToolbar", [this] { toggleBar(*tbToolBar_, *mnuViewToolbar_); }},
        {"mnuViewStatusBar", [this] { toggleBar(*statusBar(), *mnuViewStatusBar_); }},
        {"mnuViewSummary", [this] { showCommandWindow(QStringLiteral("frmSummary")); }},
        {"mnuViewStandings", [this] { showCommandWindow(QStringLiteral("frmStandings")); }},
        {"mnuToolsSQLCommandLine", [this] { showCommandWindow(QStringLiteral("frmSql")); }},
        {"mnuWindowCascade", [this] { arrangeWindows(*mdiArea_, ArrangeStyle::Cascade); }},
        {"mnuWindowTileHorizontal", [this] { arrangeWindows(*mdiArea_, ArrangeStyle::TileHorizontal); }},
        {"mnuWindowTileVertical", [this] { arrangeWindows(*mdiArea_, ArrangeStyle::TileVertical); }},
        {"mnuWindowArrangeIcons", [this] { arrangeWindows(*mdiArea_, ArrangeStyle::ArrangeIcons); }},
        {"mnuHelpContents", [this] { showHelp(false); }},
        {"mnuHelpSearch", [this] { showHelp(true); }},
        {"mnuHelpSample", [this] { openSampleAuction(); }},
        {"mnuHelpAbout", [this] { showAbout(); }},
    };
    for (const auto& [name, run] : own) {
        action(name); // the item must exist
        commands_.insert(QLatin1String(name), run);
    }
}

void frmMain::mnuClick(const QString& name)
{
    const auto command = commands_.constFind(name);
    if (command != commands_.constEnd())
        (*command)();
}

bool frmMain::offersCommand(const QString& name) const
{
    return commands_.contains(name);
}

void frmMain::toggleBar(QWidget& bar, QAction& item)
{
    // The item's own check mark has already flipped when it was clicked.
    const bool show = bar.isHidden();
    bar.setVisible(show);
    item.setChecked(show);
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
    // The buttons first, in their order, then the menu items.
    for (QAction* button : std::as_const(tableButtons_))
        button->setEnabled(enabled);
    for (QAction* item : std::as_const(tableMenuItems_))
        item->setEnabled(enabled);
}

} // namespace qv::shell
