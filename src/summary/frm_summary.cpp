#include "summary/frm_summary.h"

#include "common/error.h"
#include "common/prompter.h"
#include "grid/core/current_database.h"
#include "grid/grid_print_action.h"
#include "store/auction_lists.h"
#include "store/database.h"
#include "summary/core/summary_figures.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qv::summary {

namespace {

// Twelve rows of five empty cells for the grid to show and the program to write.
std::shared_ptr<store::Recordset> emptySheet()
{
    std::vector<store::Field> fields;
    std::vector<store::ColumnValues> columns(SummarySheet::Columns);
    for (const char* name : {"A", "B", "C", "D", "E"})
        fields.push_back({QLatin1String(name), store::FieldType::Text, false});
    for (store::ColumnValues& column : columns)
        for (int row = 0; row < SummarySheet::Rows; ++row)
            column.appendNull();
    return std::make_shared<store::Recordset>(
        std::weak_ptr<store::Database>(), store::RecordsetType::Snapshot, QString(), QStringList(), QString(),
        std::move(fields), std::move(columns), QStringList());
}

} // namespace

frmSummary::frmSummary(Prompter& prompter, QWidget* parent) : QWidget(parent), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmSummary"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Round Summary"));

    vaSpread1 = new grid::SpreadGrid(this);
    vaSpread1->setObjectName(QStringLiteral("vaSpread1"));
    vaSpread1->setRecordset(emptySheet());
    lblRound = new QLabel(QStringLiteral("Round:"), this);
    lblRound->setObjectName(QStringLiteral("lblRound"));
    ddlRound = new QComboBox(this);
    ddlRound->setObjectName(QStringLiteral("ddlRound"));
    ddlRound->setMinimumContentsLength(5);
    lblRound->setBuddy(ddlRound);
    cmdPrint = new QPushButton(QStringLiteral("Print"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto* top = new QHBoxLayout;
    top->addWidget(lblRound);
    top->addWidget(ddlRound);
    top->addStretch();
    top->addWidget(cmdPrint);
    top->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(vaSpread1, 1);

    connect(ddlRound, &QComboBox::currentIndexChanged, this, &frmSummary::ddlRound_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmSummary::cmdPrint_Click);
    // Close closes the child window it stands in, frame and all.
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
            frame->close();
        else
            close();
    });
}

frmSummary::~frmSummary()
{
    // Torn down with the frame: nothing left to tell it.
    blockSignals(true);
}

void frmSummary::closeEvent(QCloseEvent* event)
{
    // Unload gives the table commands back, as deactivation does.
    emit tableCommandsWanted(true);
    QWidget::closeEvent(event);
}

bool frmSummary::event(QEvent* event)
{
    if ((event->type() == QEvent::ParentChange || event->type() == QEvent::Show) && !activationHooked_) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
            connect(frame, &QMdiSubWindow::aboutToActivate, this, &frmSummary::Form_Activate);
            connect(frame, &QMdiSubWindow::windowStateChanged, this,
                    [this](Qt::WindowStates before, Qt::WindowStates now) {
                        if (before.testFlag(Qt::WindowActive) && !now.testFlag(Qt::WindowActive))
                            Form_Deactivate();
                    });
            activationHooked_ = true;
        }
    }
    return QWidget::event(event);
}

void frmSummary::report(const Error& error)
{
    prompter_.setBusy(false);
    prompter_.error(error, ErrorLayout::Report);
}

void frmSummary::Form_Load()
{
    PopulateRounds();
    GetAuction();
    sheet_.layOut(auction_);
    showSheet();
    // Every cell right-aligned; the two headings centred.
    vaSpread1->BlockMode = true;
    vaSpread1->Col = 1;
    vaSpread1->Row = 1;
    vaSpread1->Col2 = SummarySheet::Columns;
    vaSpread1->Row2 = SummarySheet::Rows;
    vaSpread1->setTypeHAlign(Qt::AlignRight);
    vaSpread1->BlockMode = false;
    vaSpread1->Col = 3;
    for (int row : {1, 2}) {
        vaSpread1->Row = row;
        vaSpread1->setTypeHAlign(Qt::AlignHCenter);
    }
    // Wide enough for the longest label and figure.
    const QFontMetrics metrics = vaSpread1->fontMetrics();
    for (int column = 1; column <= SummarySheet::Columns; ++column) {
        int width = 40;
        for (int row = 1; row <= SummarySheet::Rows; ++row)
            width = std::max(width, metrics.horizontalAdvance(sheet_.text(column, row)) + 16);
        vaSpread1->setColumnWidth(column - 1, column == 3 ? std::max(width, 110) : std::max(width, 90));
    }
}

void frmSummary::PopulateRounds()
{
    try {
        const QStringList rounds = store::roundsNewestFirst(grid::currentDatabase());
        if (rounds.size() == ddlRound->count())
            return;
        {
            // Filling is not a choice; choosing the newest round below is.
            const QSignalBlocker quiet(ddlRound);
            ddlRound->clear();
            ddlRound->addItems(rounds);
            ddlRound->setCurrentIndex(-1);
        }
    } catch (const Error& error) {
        report(error);
        return;
    }
    ddlRound->setCurrentIndex(0);
}

void frmSummary::GetAuction()
{
    try {
        auction_ = summary::GetAuction(grid::currentDatabase(), prompter_);
    } catch (const Error& error) {
        report(error);
    }
}

void frmSummary::FillSummary()
{
    try {
        BusyScope busy(prompter_);
        summary::FillSummary(grid::currentDatabase(), ddlRound->currentText(), sheet_, prompter_);
        showSheet();
    } catch (const Error& error) {
        report(error);
    }
}

void frmSummary::showSheet()
{
    for (int row = 1; row <= SummarySheet::Rows; ++row) {
        for (int column = 1; column <= SummarySheet::Columns; ++column) {
            vaSpread1->Col = column;
            vaSpread1->Row = row;
            vaSpread1->setText(sheet_.text(column, row));
        }
    }
}

void frmSummary::ddlRound_Click()
{
    if (ddlRound->currentIndex() >= 0)
        FillSummary();
}

void frmSummary::Form_Activate()
{
    emit tableCommandsWanted(false);
}

void frmSummary::Form_Deactivate()
{
    emit tableCommandsWanted(true);
}

void frmSummary::cmdPrint_Click()
{
    try {
        // Always portrait, an inch from the top, whatever grid windows use.
        vaSpread1->printSetup.orientation = 1;
        vaSpread1->printSetup.marginLeft = 700;
        vaSpread1->printSetup.marginTop = 1440;
        grid::runPrintAction(*vaSpread1, this);
    } catch (const Error& error) {
        report(error);
    }
}

} // namespace qv::summary
