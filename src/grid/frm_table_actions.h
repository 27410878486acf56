#pragma once

#include "grid/action_list.h"
#include "query/core/table_actions.h"

#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The Qt Test classes that drive the dialog through its controls.
class TableActionsDialogTest;
class TableToolsTest;

namespace qv::grid {

// "Table Actions": the sort order, up to four filter conditions and the
// columns of a wizard table, chosen on three tabs. It computes nothing: its
// opener shows it modally and reads its controls once it is hidden. OK and
// Cancel only hide it, so it keeps every choice for the next showing.
class frmTableActions : public QDialog {
    Q_OBJECT
public:
    explicit frmTableActions(QWidget* parent = nullptr);

    // The cancelled flag, set by Cancel (or closing the window); the opener
    // reads and clears it.
    bool cancelled() const;
    void setCancelled(bool cancelled);

    // The distinct values of a column of the table on show, for a filter
    // condition's value list; nothing when there is no table to read.
    std::function<std::optional<QStringList>(const QString& column)> distinctValues;

    // Shows the dialog modally and returns once it is hidden. Tests put a
    // runner of their own in place of the modal loop.
    void showModal();
    using ModalRunner = std::function<void(frmTableActions&)>;
    static void setModalRunner(ModalRunner runner);

    // The tabs, in order.
    enum Tab { SortTab = 0, FilterTab = 1, WizardTab = 2 };
    void showTab(int tab);
    void setWizardTabEnabled(bool enabled);

    // The choices as the opener reads them.
    QList<query::SortColumn> sortColumns() const;
    QList<query::FilterCondition> conditions() const;
    QStringList joiners() const;
    // A filter is applied only when its first row names a column.
    bool filterChosen() const;
    // The wizard tab: the columns of the new table in order, and its name.
    QStringList targetColumns() const;
    QString tableName() const;
    void setTableName(const QString& name);
    // Lists a shown table's fields as columns the wizard can take.
    void addSourceColumns(const QStringList& fields);

    // Empties the column and value lists and fills them with the shown
    // table's fields; operators and And/Or choices stay as they are.
    void prepareColumns(const QStringList& fields);

    // Sort tab moves.
    void lstSource_DblClick();
    void lstSortCols_DblClick();
    void lstSource_StartDrag();
    void lstSortCols_StartDrag();
    void lstSource_DragDrop(const QString& text);
    void lstSortCols_DragDrop(const QString& text);
    // Wizard tab moves: the target list is mirrored into the filter column
    // lists and lstSource.
    void lstSourceTable_DblClick();
    void lstTargetTable_DblClick();
    void lstSourceTable_DragDrop();
    void lstTargetTable_DragDrop();
    // Choosing a filter column fills that row's value list (row from 0).
    void lstFiltCol_Click(int row);

public slots:
    void reject() override;

private:
    // Tests drive the dialog through its controls, as a user does; its
    // opener reads the choices through the accessors above.
    friend class ::TableActionsDialogTest;
    friend class ::TableToolsTest;

    QTabWidget* SSTab1;
    // Sort tab.
    ActionList* lstSource;
    ActionList* lstSortCols; // a ticked entry sorts ascending
    // Filter tab: condition rows 1..4 at index 0..3.
    QComboBox* lstFiltCol[4];
    QComboBox* lstOp[4];
    QComboBox* txtFilter[4];
    QComboBox* lstAndOr[3];
    // Table Wizard tab.
    ActionList* lstSourceTable;
    ActionList* lstTargetTable;
    QLineEdit* txtTableName;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    // "Include All Rounds": shown, read by nothing (the wizard's table always
    // takes every round).
    QCheckBox* chkIncludeAll;
    QWidget* buildSortTab();
    QWidget* buildFilterTab();
    QWidget* buildWizardTab();
    void appendSortColumn(const QString& text);
    void addTargetColumn();
    void removeTargetColumn();
};

} // namespace qv::grid
