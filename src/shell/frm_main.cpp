#include "shell/frm_main.h"

#include "common/error.h"
#include "common/paths.h"
#include "common/window_fit.h"
#include "grid/grid_routines.h"
#include "shell/frm_about.h"
#include "shell/frm_opening_questions.h"
#include "shell/grid_commands.h"
#include "shell/help_window.h"
#include "shell/outside_import_notice.h"
#include "shell/window_placement.h"
#include "store/auction_lists.h"
#include "store/compaction.h"
#include "store/session.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStatusBar>

namespace qv::shell {

frmMain::frmMain(Prompter* prompter, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quorvane"));
    if (prompter == nullptr) {
        ownPrompter_ = std::make_unique<QtPrompter>(this);
        prompter = ownPrompter_.get();
    }
    prompter_ = prompter;

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);

    buildMenus();
    buildCommands();
    buildToolBar();
    buildStatusBar();
    if (ownPrompter_)
        ownPrompter_->setStatusWriter([this](int panel, const QString& text) { setStatusText(panel, text); });

    importHost_ = std::make_unique<ImportHost>(ImportHost{
        *prompter_, [this](const QString& caption) { setWindowTitle(caption); }, [this] { FileOpen(); }});
    importNotice_ =
        new OutsideImportNotice([this](const QString& text) { setStatusText(1, text); }, 2000, this);
    connect(importNotice_, &OutsideImportNotice::roundsChanged, this, &frmMain::roundsChanged);

    // Load: the stored placement; the first start takes a share of the screen.
    if (placementStored())
        applyPlacement(*this, readPlacement());
    else
        applyFirstStartPlacement(*this);
}

frmMain::~frmMain()
{
    // Windows that close with the frame leave nothing to rebuild.
    for (QMdiSubWindow* window : mdiArea_->subWindowList())
        disconnect(window, nullptr, this, nullptr);
}

void frmMain::rebuildReleasedTables()
{
    RebuildReleasedTables(*importHost_);
}

QWidget* frmMain::activeChild() const
{
    // The current window, even while another application has the focus.
    QMdiSubWindow* window = mdiArea_->currentSubWindow();
    if (window == nullptr)
        window = mdiArea_->activeSubWindow();
    return window != nullptr ? window->widget() : nullptr;
}

void frmMain::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setSizeGripEnabled(true);
    const QString texts[3] = {QStringLiteral("Status"),
                              QLocale().toString(QDate::currentDate(), QLocale::ShortFormat), QString()};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(texts[i], bar);
        panel->setTextFormat(Qt::PlainText); // table names, progress naming the user's tables
        panel->setObjectName(QStringLiteral("sbPanel") + QString::number(i + 1));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        panel->setMinimumWidth(i == 0 ? 120 : 90);
        bar->addWidget(panel, i == 0 ? 3 : 1);
        panels_[i] = panel;
    }
    panels_[2]->setToolTip(
        QStringLiteral("Right-click here for the Sum, Average or Count of the selected cells of one column"));
    bar->installEventFilter(this);
    for (QLabel* panel : panels_)
        panel->installEventFilter(this);
    mnuComp_->installEventFilter(this);
    // A total said for another window, or for none, is gone.
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this] {
        const QMdiSubWindow* current = mdiArea_->currentSubWindow();
        if (!panels_[2]->text().isEmpty() &&
            (current == nullptr || totalSource_.isNull() || current->widget() != totalSource_))
            setStatusText(3, QString());
    });
}

bool frmMain::computeMenuKey(QKeyEvent& key)
{
    if ((key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) || mnuComp_->activeAction() != nullptr)
        return false;
    for (QAction* item : mnuComp_->actions()) {
        if (item->isVisible() && item->isEnabled() && !item->isSeparator()) {
            mnuComp_->close();
            item->trigger();
            return true;
        }
    }
    return false;
}

void frmMain::setStatusText(int panel, const QString& text)
{
    if (panel < 1 || panel > 3)
        return;
    panels_[panel - 1]->setText(text);
    panels_[panel - 1]->repaint();
    // A grid window's total is its own, and goes with it; a text from
    // elsewhere belongs to none.
    if (panel == 3) {
        disconnect(totalSourceGone_);
        totalSource_ = text.isEmpty() ? nullptr : sender();
        if (totalSource_ != nullptr)
            totalSourceGone_ =
                connect(totalSource_, &QObject::destroyed, this, [this] { setStatusText(3, QString()); });
    }
}

QString frmMain::statusText(int panel) const
{
    return panel >= 1 && panel <= 3 ? panels_[panel - 1]->text() : QString();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mnuComp_ && event->type() == QEvent::KeyPress &&
        computeMenuKey(*static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == statusBar() || (widget != nullptr && widget->parentWidget() == statusBar())) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint inBar = widget->mapTo(statusBar(), mouse->position().toPoint());
            sbStatusBar_MouseUp(mouse->button(), inBar.x());
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::sbStatusBar_MouseUp(Qt::MouseButton button, int x)
{
    // To the right of the first two panels.
    const int threshold = panels_[1]->geometry().right();
    if (button != Qt::RightButton || x <= threshold)
        return false;
    const double dpi = logicalDpiY();
    const int above = twipsToPixels(1100, dpi);
    const QPoint at = statusBar()->mapToGlobal(QPoint(x, 0));
    mnuComp_->popup(QPoint(at.x() - mnuComp_->sizeHint().width(), at.y() - above));
    return true;
}

void frmMain::gridCommand(GridRoutine routine, const QString& argument)
{
    runGridCommand([this, routine, &argument] { resolveGridRoutine(activeChild(), routine, argument)(); });
}

void frmMain::runQuery(const query::SqlQuery& query)
{
    runGridCommand([this, &query] { grid::gridRoutinesOf(activeChild()).TableSql2(query); });
}

void frmMain::runGridCommand(const std::function<void()>& call)
{
    try {
        call();
    } catch (const Error& error) {
        if (error.number() == err::NoActiveWindow) {
            prompter_->errorMessage(QStringLiteral("  A data grid must be opened to use this function.\r"
                                                   "Open a data grid with the New button and try again"),
                                    QStringLiteral("Error"), Icon::Exclamation);
        } else {
            prompter_->error(error, ErrorLayout::Command);
        }
    }
}

QWidget* frmMain::newGridWindow()
{
    if (!gridFactory_)
        throw routineNotOffered();
    QWidget* grid = gridFactory_(*this);
    QMdiSubWindow* window = addChildWindow(grid, QSize(760, 460));
    // A table an import left out of date while this window showed it is
    // rebuilt once the window is gone.
    connect(window, &QObject::destroyed, this, &frmMain::rebuildReleasedTables, Qt::QueuedConnection);
    return grid;
}

QMdiSubWindow* frmMain::addChildWindow(QWidget* child, const QSize& wanted)
{
    QMdiSubWindow* window = mdiArea_->addSubWindow(child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Each new window a step down and to the right of the one before, all of
    // it inside the frame's area, smaller where the area is.
    const int step = static_cast<int>(mdiArea_->subWindowList().size() - 1) % 8;
    window->setGeometry(fitInside(QRect(QPoint(step * 26, step * 26), wanted), mdiArea_->viewport()->rect()));
    child->show();
    mdiArea_->setActiveSubWindow(window);
    return window;
}

void frmMain::selectFirstEntries(QWidget* grid)
{
    auto* lists = qobject_cast<grid::GridLists*>(grid);
    if (lists == nullptr)
        return;
    // Selecting by code runs the lists' own handling, as a click does.
    for (QComboBox* list : {&lists->roundList(), &lists->tableList()}) {
        if (list->currentIndex() == 0) {
            const QSignalBlocker quiet(list);
            list->setCurrentIndex(-1);
        }
        list->setCurrentIndex(0);
    }
}

void frmMain::showFirstEntries(QWidget* grid)
{
    PopulateTables();
    PopulateRounds();
    selectFirstEntries(grid);
    // A new grid window starts without page-break marks.
    if (auto* breaks = qobject_cast<grid::PageBreakRoutines*>(grid)) {
        breaks->PBreak_Clear();
        breaks->PBreak_Refresh();
    }
}

void frmMain::newGridWindowCommand()
{
    try {
        showFirstEntries(newGridWindow());
    } catch (const Error& error) {
        prompter_->error(error, ErrorLayout::Command);
    }
}

void frmMain::importRound(bool autoImport)
{
    // After "Wrong File", a No to replacing an auction or a failed open there
    // is no auction to import into.
    if (session().CurrentDatabase == nullptr) {
        showGenericError(*prompter_, objectNotSet(Advice::OpenAuction));
        return;
    }
    // The windows that follow the newest round hear of it at once.
    if (ImportRound(*importHost_, autoImport))
        importNotice_->check();
}

void frmMain::endProgram()
{
    ending_ = true;
    if (endProgram_)
        endProgram_();
}

void frmMain::FileOpen()
{
    // After a failed open, creation or batch import there is no auction to
    // work on: the question comes again until there is one or the user ends.
    ending_ = false;
    do
        openingQuestions();
    while (!ending_ && (session().CurrentDatabase == nullptr || !session().CurrentDatabase->isOpen()));
}

void frmMain::openingQuestions()
{
    try {
        if (openingDialog_ == nullptr) {
            openingDialog_ = new frmOpeningQuestions(this);
            // The dialog is modal: its help window must be its own child to be usable.
            connect(openingDialog_, &frmOpeningQuestions::helpRequested, this, [this] {
                if (helpFile_.isEmpty() || openingDialog_ == nullptr)
                    return;
                auto* help = new HelpWindow(helpFile_, openingDialog_);
                help->setAttribute(Qt::WA_DeleteOnClose);
                placeOnScreen(*help, *openingDialog_);
                help->showContents();
            });
        }
        const int result = openingDialog_->exec();
        if (openingDialog_->cancelled()) {
            endProgram();
            return;
        }
        // The close box leaves a dialog whose options count as unset.
        const auto choice =
            result == QDialog::Accepted ? openingDialog_->choice() : frmOpeningQuestions::Choice::Existing;
        auto unloadDialog = [this] {
            if (openingDialog_ != nullptr)
                openingDialog_->deleteLater();
            openingDialog_ = nullptr;
        };

        if (choice == frmOpeningQuestions::Choice::New) {
            const Answer answer = prompter_->message(
                QStringLiteral("In order to create a new auction, you must have the round results\r"
                               "     file from the first round of the auction you intend to create.\r"
                               "                    Do you have the first round results file?"),
                QStringLiteral("New Auction"), Icon::None, Buttons::YesNo, Answer::Yes);
            if (answer != Answer::Yes) {
                prompter_->message(QStringLiteral("Please download the first round results file for\r"
                                                  " the auction you intend to create and try again."),
                                   QStringLiteral("Please Try Again"), Icon::Information);
                endProgram();
                return;
            }
            unloadDialog();
            CreateAuction(*importHost_);
            return;
        }
        if (choice == frmOpeningQuestions::Choice::Batch) {
            const Answer answer = prompter_->message(
                QStringLiteral(
                    "      In order to batch import a new auction, you must have the round results\r"
                    "files for all the rounds of the auction you intend to create, in the same "
                    "directory.\r"
                    "       Do you have the all of the round results files in the same directory?"),
                QStringLiteral("Batch Auction Import"), Icon::None, Buttons::YesNo, Answer::Yes);
            if (answer != Answer::Yes) {
                prompter_->message(QStringLiteral("Please download the first round results file for\r"
                                                  "the auction you intend to create and try again."),
                                   QStringLiteral("Please Try Again"), Icon::Information);
                endProgram();
                return;
            }
            prompter_->message(QStringLiteral("Please select the round results file for \r"
                                              "round 1 of the auction you wish to create."),
                               QStringLiteral("Select File for Round 1"), Icon::Information);
            unloadDialog();
            BatchImportAuction(*importHost_);
            // The round in progress no longer is.
            prompter_->setStatus(1, QStringLiteral("Status"));
            return;
        }

        FileChoice fileChoice;
        fileChoice.title = QStringLiteral("Open");
        fileChoice.filter = QStringLiteral("Access (*.mdb)|*.mdb");
        fileChoice.initialFolder = applicationFolder();
        fileChoice.cancelError = true;
        const QString path = prompter_->openFile(fileChoice);
        if (path.isEmpty())
            return;
        QWidget* grid = newGridWindow();
        OpenAuctionDatabase(path);
        setWindowTitle(QStringLiteral("Quorvane - ") + path);
        showFirstEntries(grid);
        unloadDialog();
    } catch (const Error& error) {
        if (error.number() == err::DialogCancelled) {
            endProgram();
            return;
        }
        prompter_->error(error, ErrorLayout::Generic);
    }
}

void frmMain::refillList(QComboBox& (grid::GridLists::*listOf)(), QStringList (*read)(store::Database&),
                         bool unloadOpening)
{
    try {
        auto* lists = qobject_cast<grid::GridLists*>(activeChild());
        if (lists == nullptr)
            throw objectNotSet(Advice::OpenGridWindow);
        QComboBox* list = &(lists->*listOf)();
        const store::DatabasePtr database = session().CurrentDatabase;
        if (database == nullptr)
            throw objectNotSet(Advice::OpenAuction);
        const QStringList values = read(*database);
        if (list->count() == values.size())
            return;
        // Refilling is not a choice: the window loads nothing until one is made.
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(values);
        list->setCurrentIndex(-1);
        if (unloadOpening && openingDialog_ != nullptr) {
            openingDialog_->hide();
            openingDialog_->deleteLater();
            openingDialog_ = nullptr;
        }
    } catch (const Error& error) {
        QApplication::restoreOverrideCursor();
        prompter_->error(error, ErrorLayout::Report);
    }
}

void frmMain::PopulateTables()
{
    refillList(&grid::GridLists::tableList, store::listedTables, false);
}

void frmMain::PopulateRounds()
{
    refillList(&grid::GridLists::roundList, store::roundsNewestFirst, true);
}

void frmMain::showHelp(bool search)
{
    if (helpFile_.isEmpty()) {
        prompter_->message(
            QStringLiteral("Unable to display Help Contents. There is no Help associated with this "
                           "project."),
            windowTitle(), Icon::Information);
        return;
    }
    if (helpWindow_ == nullptr) {
        helpWindow_ = new HelpWindow(helpFile_, this);
        helpWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    placeOnScreen(*helpWindow_, *this);
    if (search)
        helpWindow_->showSearch();
    else
        helpWindow_->showContents();
}

void frmMain::showAbout()
{
    frmAbout about(*prompter_, this);
    about.exec();
}

void frmMain::MDIForm_Unload()
{
    if (!isMinimized())
        writePlacement(currentPlacement(*this));
    CloseAuctionDatabase();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Exit ends the program: its other windows (the workbooks, the SQL Query
    // Wizard, the help), minimised or not, close with this one, so that the
    // run ends now and compacts the auction once.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible() && !window->close()) {
            event->ignore();
            return;
        }
    }
    MDIForm_Unload();
    QMainWindow::closeEvent(event);
}

bool frmMain::ReorganizeDatabase()
{
    const QString path = session().CurrentDatabasePath;
    // With no auction open there is nothing to compact.
    if (path.isEmpty())
        return true;
    CloseAuctionDatabase();
    setStatusText(1, QStringLiteral("Optimizing Database...Please Standby!"));
    try {
        store::compactDatabase(path);
        return true;
    } catch (const Error& error) {
        prompter_->errorMessage(store::compactionFailureText(error), QString(), Icon::Exclamation);
        return false;
    }
}

} // namespace qv::shell
