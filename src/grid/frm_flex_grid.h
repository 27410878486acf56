#pragma once

#include "grid/data_control.h"
#include "grid/drop_down_list.h"
#include "grid/grid_routines.h"
#include "grid/spread_grid.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QLabel;

// The Qt Test classes that drive the window through its controls.
class AnalysisWindowTest;
class ExportDropTest;
class GridWindowTest;
class PrintWindowsTest;
class SqlWizardTest;
class TableToolsTest;

namespace qv {
class Prompter;
}

namespace qv::analysis {
class frmWorkbooks;
enum class AnalysisKind;
} // namespace qv::analysis

namespace qv::grid {

class frmTableActions;

// A grid window: one table of the open auction, for one round or whole,
// chosen in its two lists. The main window runs its routines through the
// interfaces it implements; the window asks the frame for list refills and
// status texts by its signals.
class frmFlexGrid : public QWidget, public GridRoutines, public PageBreakRoutines, public GridLists {
    Q_OBJECT
    Q_INTERFACES(qv::grid::GridRoutines qv::grid::PageBreakRoutines qv::grid::GridLists)
public:
    explicit frmFlexGrid(Prompter& prompter, QWidget* parent = nullptr);
    ~frmFlexGrid() override;

    // Table tools the main window runs.
    void TableSort() override;
    void TableFilt() override;
    void TableReset() override;
    void HandelSort();
    void HandelFlt();
    void TableWiz() override;
    void HandelWiz();
    void ComputeSelection(const QString& kind) override;
    void FreezeCols() override;
    void UnfreezeCols() override;

    QComboBox& tableList() override { return *ddlTableName; }
    QComboBox& roundList() override { return *ddlRoundNum; }
    // The table list's choice: loads the table for the round chosen.
    void ddlTableName_Click();
    // The round list's choice: loads the round of the table on show.
    void ddlRoundNum_Click();
    void ddlTableName_DropDown();
    void ddlRoundNum_DropDown();
    void ddlTableName_LostFocus();
    void ddlRoundNum_LostFocus();
    // Becoming the active child window: the status bar names what is on show.
    void Form_Activate();

    Prompter& prompter() { return prompter_; }

    // Writes the rows on show to a tab-delimited text file the user names.
    void DBSaveAs() override;
    // Drops the user table on show, with its listing, after a confirmation.
    void DropTable() override;
    // Runs a query of the SQL query wizard, replacing the table it builds.
    void TableSql2(const query::SqlQuery& clauses) override;

    // Pivot analyses of the bids, each a new workbook in this window's workbook
    // window (made on the first analysis, again after the user closed it).
    Q_INVOKABLE void MarketsAnalysis() override;
    Q_INVOKABLE void BiddersAnalysis() override;
    Q_INVOKABLE void RoundsAnalysis() override;

    // Page breaks on the grid's current row and column (the cell last
    // right-clicked), and the marks on every page boundary
    // (frm_flex_grid_print.cpp).
    void PBreak_SetRow() override;
    void PBreak_DelRow() override;
    void PBreak_SetCol() override;
    void PBreak_DelCol() override;
    void PBreak_Remove() override;
    void PBreak_Clear() override;
    void PBreak_Refresh() override;
    // The grid on show. It is the one control left public: printedGrid()
    // hands the same grid to the print windows, so hiding it would hide
    // nothing, and helpers outside the tests' classes read its cells.
    SpreadGrid* MSFlexGrid1;
    SpreadGrid& printedGrid() override { return *MSFlexGrid1; }
    // Prints the grid with its own margins, orientation and breaks.
    void PrintGrid() override;
    void MSFlexGrid1_RightClick(int column, int row, QPoint position);

signals:
    // What the grid window asks of the frame that holds it.
    void tableListWanted();                                // refill the table list (dropping down)
    void roundListWanted();                                // refill the round list (dropping down)
    void statusTextWanted(int panel, const QString& text); // a status bar panel, from 1
    void pageBreakMenuWanted(QPoint globalPosition);       // the "Page Breaks" pop-up

protected:
    bool event(QEvent* event) override;

private:
    // Tests drive the window through its controls, as a user does.
    friend class ::AnalysisWindowTest;
    friend class ::ExportDropTest;
    friend class ::GridWindowTest;
    friend class ::PrintWindowsTest;
    friend class ::SqlWizardTest;
    friend class ::TableToolsTest;

    DropDownList* ddlTableName;
    DropDownList* ddlRoundNum;
    DataControl* Data1;
    // True while the sort and filter choices belong to the table on show.
    bool actionsPrepared = false;
    int lastRoundIndex = 0;
    // The sort and filter choices, kept between uses; the table wizard's own.
    frmTableActions* actionsDialog = nullptr;
    frmTableActions* wizardDialog = nullptr;
    // The analyses' workbook window.
    QPointer<analysis::frmWorkbooks> workbookWindow;

    void showRows(std::unique_ptr<store::Recordset> rows);
    // The selection total in the status bar belongs to the selection and
    // table it was taken from: it goes when either changes.
    void dropSelectionTotal();
    bool totalShown_ = false;
    // A list left with no entry chosen shows again what it showed.
    void restoreChoice(DropDownList& list, int lastIndex, const QString& lastText);
    void showCaption(const QString& caption);
    // Run after a table has loaded and after a round change has loaded its rows.
    void afterTableLoad();
    void afterRoundChange();
    // Table tools.
    void showTableActions(int tab);
    void carryActionsOver();
    frmTableActions* newActionsDialog();
    std::optional<QStringList> distinctValuesOf(const QString& column);
    void runAnalysis(analysis::AnalysisKind kind);

    QLabel* lblTableName;
    QLabel* lblRoundNum;
    int lastTableIndex = 0;
    // The entries on show when the lists last dropped down.
    QString lastRoundText;
    QString lastTableText;
    Prompter& prompter_;
    bool activationHooked_ = false;
};

} // namespace qv::grid
