#include "standings/frm_standings.h"

#include "common/error.h"
#include "common/prompter.h"
#include "grid/core/current_database.h"
#include "standings/core/round_standings.h"
#include "standings/standings_charts_page.h"
#include "standings/standings_table_model.h"
#include "store/database.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <set>

namespace qv::standings {

namespace {

// What a view's rows are known by across a reload: the row's subject and its
// first column (a change's kind), so that the same rows are chosen again.
QString rowIdentity(const QModelIndex& index)
{
    return index.siblingAtColumn(0).data().toString() + QLatin1Char('\n') +
           index.data(StandingsTableModel::KeyRole).toString();
}

struct ViewChoice {
    std::set<QString> selected;
    QString current;
};

ViewChoice choiceOf(QTableView* view)
{
    ViewChoice choice;
    for (const QModelIndex& row : view->selectionModel()->selectedRows())
        choice.selected.insert(rowIdentity(row));
    if (view->currentIndex().isValid())
        choice.current = rowIdentity(view->currentIndex());
    return choice;
}

void restore(QTableView* view, const ViewChoice& choice)
{
    QAbstractItemModel* model = view->model();
    QItemSelection selection;
    QModelIndex current;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        const QString identity = rowIdentity(index);
        if (choice.selected.count(identity) > 0)
            selection.select(index, model->index(row, model->columnCount() - 1));
        if (identity == choice.current)
            current = index;
    }
    if (current.isValid())
        view->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

} // namespace

frmStandings::frmStandings(Prompter& prompter, QWidget* parent) : QWidget(parent), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmStandings"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Standings"));

    lblRound = new QLabel(QStringLiteral("Round:"), this);
    ddlRound = new QComboBox(this);
    ddlRound->setObjectName(QStringLiteral("ddlRound"));
    ddlRound->setMinimumContentsLength(5);
    lblRound->setBuddy(ddlRound);
    // Files that contradict each other: above every tab, before the notes.
    lblWarning = new QLabel(this);
    lblWarning->setObjectName(QStringLiteral("lblWarning"));
    lblWarning->setWordWrap(true);
    lblWarning->setTextFormat(Qt::PlainText);
    lblWarning->setStyleSheet(
        QStringLiteral("background: #fde8e8; border: 2px solid #c03030; padding: 4px; font-weight: bold;"));
    lblWarning->hide();
    lblNotes = new QLabel(this);
    lblNotes->setObjectName(QStringLiteral("lblNotes"));
    lblNotes->setWordWrap(true);
    lblNotes->setTextFormat(Qt::PlainText); // the notes name tables and columns of the files
    lblNotes->setStyleSheet(QStringLiteral("background: #fff7e0; border: 1px solid #e0c060; padding: 4px;"));
    lblNotes->hide();
    lblTotals = new QLabel(this);
    lblTotals->setObjectName(QStringLiteral("lblTotals"));
    lblTotals->setTextFormat(Qt::PlainText);
    lblTotals->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblTotals->hide();
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    grdLicences = makeView(QStringLiteral("grdLicences"), licences_, licencesShown_);
    grdBidders = makeView(QStringLiteral("grdBidders"), bidders_, biddersShown_);
    grdChanges = makeView(QStringLiteral("grdChanges"), changes_, changesShown_);
    charts = new StandingsChartsPage(prompter_, this);
    charts->setObjectName(QStringLiteral("charts"));
    tabs->addTab(grdLicences, QStringLiteral("Licences"));
    tabs->addTab(grdBidders, QStringLiteral("Bidders"));
    tabs->addTab(grdChanges, QStringLiteral("Changes"));
    tabs->addTab(charts, QStringLiteral("Charts"));

    auto* top = new QHBoxLayout;
    top->addWidget(lblRound);
    top->addWidget(ddlRound);
    top->addStretch();
    top->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(lblWarning);
    layout->addWidget(lblNotes);
    layout->addWidget(tabs, 1);
    layout->addWidget(lblTotals);
    // The totals of the tab shown; sorting the rows leaves them where they are.
    const auto showTotals = [this] {
        const int tab = tabs->currentIndex();
        lblTotals->setText(tab == 0   ? totalsText(licences_->table())
                           : tab == 1 ? totalsText(bidders_->table())
                                      : QString());
        lblTotals->setVisible(!lblTotals->text().isEmpty());
    };
    connect(tabs, &QTabWidget::currentChanged, this, showTotals);
    connect(licences_, &QAbstractItemModel::modelReset, this, showTotals);
    connect(bidders_, &QAbstractItemModel::modelReset, this, showTotals);

    connect(ddlRound, &QComboBox::currentIndexChanged, this, [this] {
        if (ddlRound->currentIndex() >= 0)
            ShowRound();
    });
    // Close closes the child window it stands in, frame and all.
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
            frame->close();
        else
            close();
    });
}

frmStandings::~frmStandings()
{
    // Torn down with the frame: nothing left to tell it.
    blockSignals(true);
}

QTableView* frmStandings::makeView(const QString& name, StandingsTableModel*& model,
                                   QSortFilterProxyModel*& proxy)
{
    model = new StandingsTableModel(this);
    proxy = new QSortFilterProxyModel(this);
    proxy->setSourceModel(model);
    proxy->setSortRole(StandingsTableModel::SortRole);
    proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    auto* view = new QTableView(this);
    view->setObjectName(name);
    view->setModel(proxy);
    view->setSortingEnabled(true);
    view->sortByColumn(-1, Qt::AscendingOrder); // the standings' own order until a header is clicked
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    connect(view, &QTableView::doubleClicked, this, &frmStandings::openChart);
    return view;
}

bool frmStandings::event(QEvent* event)
{
    if ((event->type() == QEvent::ParentChange || event->type() == QEvent::Show) && !activationHooked_) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            connect(frame, &QMdiSubWindow::aboutToActivate, this,
                    [this] { emit tableCommandsWanted(false); });
            connect(frame, &QMdiSubWindow::windowStateChanged, this,
                    [this](Qt::WindowStates before, Qt::WindowStates now) {
                        if (before.testFlag(Qt::WindowActive) && !now.testFlag(Qt::WindowActive))
                            emit tableCommandsWanted(true);
                    });
            activationHooked_ = true;
        }
    }
    return QWidget::event(event);
}

void frmStandings::closeEvent(QCloseEvent* event)
{
    emit tableCommandsWanted(true);
    QWidget::closeEvent(event);
}

void frmStandings::Form_Load()
{
    PopulateRounds();
}

void frmStandings::PopulateRounds()
{
    const QString chosen = ddlRound->currentText();
    const bool onNewest = ddlRound->currentIndex() <= 0;
    QStringList rounds;
    try {
        const std::vector<int> imported = importedRounds(grid::currentDatabase());
        for (auto round = imported.rbegin(); round != imported.rend(); ++round)
            rounds << QString::number(*round);
    } catch (const Error& error) {
        prompter_.error(error, ErrorLayout::Report);
        return;
    }
    QStringList listed;
    for (int i = 0; i < ddlRound->count(); ++i)
        listed << ddlRound->itemText(i);
    if (rounds == listed)
        return;
    {
        // Filling is not a choice; choosing a round below is.
        const QSignalBlocker quiet(ddlRound);
        ddlRound->clear();
        ddlRound->addItems(rounds);
        ddlRound->setCurrentIndex(-1);
    }
    // A window on the newest round moves on with the rounds; another stays.
    const int keep = onNewest ? 0 : static_cast<int>(rounds.indexOf(chosen));
    ddlRound->setCurrentIndex(rounds.isEmpty() ? -1 : std::max(keep, 0));
}

void frmStandings::roundsChanged()
{
    const QString before = ddlRound->currentText();
    PopulateRounds();
    // The round on show was imported again: its standings may have changed.
    if (ddlRound->currentText() == before && ddlRound->currentIndex() == 0)
        ShowRound();
}

void frmStandings::ShowRound()
{
    bool ok = false;
    const int round = ddlRound->currentText().toInt(&ok);
    if (!ok)
        return;
    try {
        BusyScope busy(prompter_);
        const RoundStandings standings = computeRoundStandings(grid::currentDatabase(), round);
        const std::pair<QTableView*, StandingsTableModel*> views[] = {
            {grdLicences, licences_}, {grdBidders, bidders_}, {grdChanges, changes_}};
        const StandingsTable tables[] = {licenceTable(standings), bidderTable(standings),
                                         changeTable(standings)};
        for (size_t i = 0; i < std::size(views); ++i) {
            const ViewChoice choice = choiceOf(views[i].first);
            views[i].second->setTable(tables[i]);
            restore(views[i].first, choice);
            if (shown_ == 0)
                views[i].first->resizeColumnsToContents();
        }
        tabs->setTabText(2, standings.previousRound > 0 ? QStringLiteral("Changes since round ") +
                                                              QString::number(standings.previousRound)
                                                        : QStringLiteral("Changes"));
        QStringList warnings;
        for (const QString& warning : standings.warnings)
            warnings << QStringLiteral("Warning: ") + warning;
        lblWarning->setText(warnings.join(QLatin1Char('\n')));
        lblWarning->setVisible(!warnings.isEmpty());
        QStringList notes = standings.notes;
        notes.removeIf([&standings](const QString& note) { return standings.warnings.contains(note); });
        lblNotes->setText(notes.join(QLatin1Char('\n')));
        lblNotes->setVisible(!notes.isEmpty());
        shown_ = round;
        QStringList licenceNames;
        for (const LicenseStanding& licence : standings.licenses)
            licenceNames << licence.name;
        QStringList bidderNames;
        for (const BidderStanding& bidder : standings.bidders)
            bidderNames << bidder.name;
        bidderNames.sort(Qt::CaseInsensitive);
        charts->setChoices(licenceNames, bidderNames, round);
    } catch (const Error& error) {
        prompter_.setBusy(false);
        prompter_.error(error, ErrorLayout::Report);
    }
}

void frmStandings::openChart(const QModelIndex& index)
{
    const QString key = index.data(StandingsTableModel::KeyRole).toString();
    if (key.isEmpty())
        return;
    tabs->setCurrentWidget(charts);
    charts->showOne(key, index.data(StandingsTableModel::BidderRole).toBool());
}

} // namespace qv::standings
