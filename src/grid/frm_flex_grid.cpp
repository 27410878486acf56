#include "grid/frm_flex_grid.h"

#include "common/error.h"
#include "common/prompter.h"
#include "grid/core/current_database.h"
#include "grid/core/table_statements.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMetaObject>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qv::grid {

frmFlexGrid::frmFlexGrid(Prompter& prompter, QWidget* parent) : QWidget(parent), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmFlexGrid"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("New Table Selection"));

    lblTableName = new QLabel(QStringLiteral("Table:"), this);
    lblTableName->setObjectName(QStringLiteral("lblTableName"));
    ddlTableName = new DropDownList(this);
    ddlTableName->setObjectName(QStringLiteral("ddlTableName"));
    ddlTableName->setMinimumContentsLength(24);
    ddlTableName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lblRoundNum = new QLabel(QStringLiteral("Round:"), this);
    lblRoundNum->setObjectName(QStringLiteral("lblRoundNum"));
    ddlRoundNum = new DropDownList(this);
    ddlRoundNum->setObjectName(QStringLiteral("ddlRoundNum"));
    ddlRoundNum->setMinimumContentsLength(5);
    ddlRoundNum->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lblTableName->setBuddy(ddlTableName);
    lblRoundNum->setBuddy(ddlRoundNum);
    Data1 = new DataControl(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    MSFlexGrid1 = new SpreadGrid(this);

    auto* lists = new QHBoxLayout;
    lists->addWidget(lblTableName);
    lists->addWidget(ddlTableName);
    lists->addSpacing(16);
    lists->addWidget(lblRoundNum);
    lists->addWidget(ddlRoundNum);
    lists->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(lists);
    // The grid follows the window's size.
    layout->addWidget(MSFlexGrid1, 1);
    resize(720, 420);

    connect(ddlTableName, &DropDownList::clicked, this, &frmFlexGrid::ddlTableName_Click);
    connect(ddlRoundNum, &DropDownList::clicked, this, &frmFlexGrid::ddlRoundNum_Click);
    connect(ddlTableName, &DropDownList::droppedDown, this, &frmFlexGrid::ddlTableName_DropDown);
    connect(ddlRoundNum, &DropDownList::droppedDown, this, &frmFlexGrid::ddlRoundNum_DropDown);
    connect(ddlTableName, &DropDownList::lostFocus, this, &frmFlexGrid::ddlTableName_LostFocus);
    connect(ddlRoundNum, &DropDownList::lostFocus, this, &frmFlexGrid::ddlRoundNum_LostFocus);
    // Closed with Escape (or a click outside it): the list shows its entry again at once.
    connect(ddlTableName, &DropDownList::closedWithoutChoice, this, &frmFlexGrid::ddlTableName_LostFocus);
    connect(ddlRoundNum, &DropDownList::closedWithoutChoice, this, &frmFlexGrid::ddlRoundNum_LostFocus);
    connect(MSFlexGrid1, &SpreadGrid::rightClicked, this, &frmFlexGrid::MSFlexGrid1_RightClick);
    // New column widths or row heights move the page boundaries.
    for (auto changed : {&SpreadGrid::columnWidthChanged, &SpreadGrid::rowHeightChanged})
        connect(MSFlexGrid1, changed, this, [this] {
            PBreak_Clear();
            PBreak_Refresh();
        });
    connect(MSFlexGrid1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmFlexGrid::dropSelectionTotal);
    // Grid windows print across the page.
    MSFlexGrid1->printSetup.orientation = 2;

    actionsPrepared = false;
}

frmFlexGrid::~frmFlexGrid()
{
    // Unload: the table on show is no longer in use.
    Data1->release();
}

bool frmFlexGrid::event(QEvent* event)
{
    // Activation arrives through the child-window frame around us.
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
            frame != nullptr && !activationHooked_) {
            connect(frame, &QMdiSubWindow::aboutToActivate, this, &frmFlexGrid::Form_Activate);
            activationHooked_ = true;
        }
    }
    return QWidget::event(event);
}

void frmFlexGrid::showCaption(const QString& caption)
{
    setWindowTitle(caption);
    emit statusTextWanted(1, caption);
}

void frmFlexGrid::afterTableLoad()
{
    // Page-break marks are cleared and drawn again for the new rows.
    PBreak_Clear();
    PBreak_Refresh();
}

void frmFlexGrid::afterRoundChange()
{
    // The user's filter, then sort, carry over to the new round; page-break
    // marks are cleared and drawn again.
    carryActionsOver();
    PBreak_Clear();
    PBreak_Refresh();
}

void frmFlexGrid::showRows(std::unique_ptr<store::Recordset> rows)
{
    dropSelectionTotal();
    std::shared_ptr<store::Recordset> shown(std::move(rows));
    Data1->setRecordset(shown);
    MSFlexGrid1->setRecordset(shown);
}

void frmFlexGrid::dropSelectionTotal()
{
    if (!totalShown_)
        return;
    totalShown_ = false;
    emit statusTextWanted(3, QString());
}

void frmFlexGrid::ddlTableName_Click()
{
    const QString table = ddlTableName->currentText();
    const QString round = ddlRoundNum->currentText();
    if (table.isEmpty() || round.isEmpty())
        return;
    BusyScope busy(prompter_);
    try {
        store::Database& database = currentDatabase();
        ddlRoundNum->setEnabled(!isStatisticsTable(table));
        MSFlexGrid1->setColWidth(0, 5);
        TableLoad load = loadTable(database, table, round, RowReading::OnDemand);
        ddlRoundNum->setEnabled(load.roundListEnabled);
        showRows(std::move(load.rows));
        showCaption(tableCaption(table, round, load.roundListEnabled));
        actionsPrepared = false;
        afterTableLoad();
    } catch (const Error& error) {
        prompter_.errorWhileBusy(error, ErrorLayout::Report);
    }
}

void frmFlexGrid::ddlRoundNum_Click()
{
    const QString table = ddlTableName->currentText();
    const QString round = ddlRoundNum->currentText();
    if (table.isEmpty() || round.isEmpty())
        return;
    BusyScope busy(prompter_);
    try {
        store::Database& database = currentDatabase();
        showRows(loadRound(database, table, round));
        showCaption(tableCaption(table, round, true));
        if (actionsPrepared)
            afterRoundChange();
    } catch (const Error& error) {
        prompter_.errorWhileBusy(error, ErrorLayout::Report);
    }
}

void frmFlexGrid::ddlTableName_DropDown()
{
    if (ddlTableName->currentIndex() >= 0) {
        lastTableIndex = ddlTableName->currentIndex();
        lastTableText = ddlTableName->currentText();
    }
    emit tableListWanted();
}

void frmFlexGrid::ddlRoundNum_DropDown()
{
    if (ddlRoundNum->currentIndex() >= 0) {
        lastRoundIndex = ddlRoundNum->currentIndex();
        lastRoundText = ddlRoundNum->currentText();
    }
    emit roundListWanted();
}

void frmFlexGrid::ddlTableName_LostFocus()
{
    restoreChoice(*ddlTableName, lastTableIndex, lastTableText);
}

void frmFlexGrid::ddlRoundNum_LostFocus()
{
    restoreChoice(*ddlRoundNum, lastRoundIndex, lastRoundText);
}

void frmFlexGrid::restoreChoice(DropDownList& list, int lastIndex, const QString& lastText)
{
    if (list.currentIndex() != -1)
        return;
    // The entry itself, not its position: a refill puts new rounds ahead of
    // it. The grid shows it still, so nothing is loaded again.
    const int same =
        lastText.isEmpty() ? -1 : list.findText(lastText, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (same >= 0) {
        const QSignalBlocker quiet(list);
        list.setCurrentIndex(same);
    } else if (lastIndex < list.count()) {
        // That entry is gone: what now stands in its place is loaded.
        list.setCurrentIndex(lastIndex);
    }
}

void frmFlexGrid::Form_Activate()
{
    const QString table = ddlTableName->currentText();
    const QString round = ddlRoundNum->currentText();
    QString status;
    if (!round.isEmpty() && ddlRoundNum->isEnabled())
        status = table + QStringLiteral(" - Round ") + round;
    else if (!table.isEmpty() || !round.isEmpty())
        status = table;
    else
        status = QStringLiteral("Status");
    emit statusTextWanted(1, status);
}

} // namespace qv::grid
