#pragma once

#include <QObject>
#include <QString>

class QComboBox;
class QWidget;

namespace qv::store {
struct SqlQuery;
}
namespace qv::query {
using store::SqlQuery;
}

namespace qv::grid {

class SpreadGrid;

// The routines of a grid window that the frame's commands run on the active
// child window. A child window that is not a grid window offers none of them.
class GridRoutines {
public:
    virtual ~GridRoutines() = default;

    virtual void DBSaveAs() = 0;
    virtual void PrintGrid() = 0;
    virtual void MarketsAnalysis() = 0;
    virtual void RoundsAnalysis() = 0;
    virtual void BiddersAnalysis() = 0;
    virtual void TableSort() = 0;
    virtual void TableFilt() = 0;
    virtual void TableReset() = 0;
    virtual void TableWiz() = 0;
    virtual void DropTable() = 0;
    virtual void FreezeCols() = 0;
    virtual void UnfreezeCols() = 0;
    // kind: "Sum", "Average" or "Count".
    virtual void ComputeSelection(const QString& kind) = 0;
    // Runs a query of the SQL query wizard, replacing the table it builds.
    virtual void TableSql2(const query::SqlQuery& query) = 0;
};

// A window whose grid prints in pages, with page breaks set on it: the
// print windows read and set its page setup, the Page Breaks menu moves its
// breaks.
class PageBreakRoutines {
public:
    virtual ~PageBreakRoutines() = default;

    virtual SpreadGrid& printedGrid() = 0;
    virtual void PBreak_SetRow() = 0;
    virtual void PBreak_DelRow() = 0;
    virtual void PBreak_SetCol() = 0;
    virtual void PBreak_DelCol() = 0;
    virtual void PBreak_Remove() = 0;
    virtual void PBreak_Clear() = 0;
    virtual void PBreak_Refresh() = 0;
};

// A window with the table and round lists that the frame fills and chooses
// from when the window opens.
class GridLists {
public:
    virtual ~GridLists() = default;

    virtual QComboBox& tableList() = 0;
    virtual QComboBox& roundList() = 0;
};

// The active child window's routines: error 91 when there is no child
// window, 438 when it is not a window that offers them.
GridRoutines& gridRoutinesOf(QWidget* activeChild);
PageBreakRoutines& pageBreaksOf(QWidget* activeChild);

} // namespace qv::grid

Q_DECLARE_INTERFACE(qv::grid::GridRoutines, "org.quorvane.GridRoutines")
Q_DECLARE_INTERFACE(qv::grid::PageBreakRoutines, "org.quorvane.PageBreakRoutines")
Q_DECLARE_INTERFACE(qv::grid::GridLists, "org.quorvane.GridLists")
