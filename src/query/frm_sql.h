#pragma once

#include "query/core/sql_query.h"

#include <QList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace qv {
class Prompter;
}

namespace qv::query {

// The navigator over the saved queries: first, previous, next, last and a
// new query, with the current query's name as its caption.
class QueryNavigator : public QWidget {
    Q_OBJECT
public:
    explicit QueryNavigator(QWidget* parent = nullptr);
    QString caption() const;
    void setCaption(const QString& caption);

    QToolButton* first;
    QToolButton* previous;
    QToolButton* next;
    QToolButton* last;
    QToolButton* addNew;

private:
    QLabel* caption_;
};

// The SQL query wizard: a tool window of its own (not a child of the frame) over
// the rows of sysQueryBuilder. Each box is bound to one field and every edit
// is saved to the row at once; a query comes into being when its name is
// typed. Run hands the query, as its boxes show it, to whoever runs it (the
// frame, on the active grid window).
class frmSql : public QWidget {
    Q_OBJECT
public:
    explicit frmSql(Prompter& prompter, QWidget* parent = nullptr);

    // The window's data control: it moves between saved queries and shows
    // the current one's name (a grid window's Data1 holds a record set).
    QueryNavigator* queryNavigator;
    // Element i is bound to the field Txt<i>: 0 Select, 1 Into, 2 From,
    // 3 Where, 4 Order By, 5 Query Name.
    QLineEdit* txtSql[6];
    QPushButton* cmdRun;
    QPushButton* cdmDelete;
    QPushButton* cmdClose;

    void Form_Load();
    void queryNavigator_Reposition();
    void txtSql_Change(int index);
    // The Into box is saved when its editing ends (Enter, leaving it, moving
    // to another query, Run, closing): an Into that is not one name, or names
    // a table of the round results files or the program's own, is refused and
    // the box shows the saved one again. False when refused.
    bool txtSql1_Validate();
    void cmdRun_Click();
    void cdmDelete_Click();
    void cmdClose_Click();

    // Navigation; -1 stands for a new query not yet named.
    void moveTo(int position);
    int position() const { return current_; }
    int queryCount() const { return static_cast<int>(rows_.size()); }

    // The query as the boxes show it, name and clauses.
    SqlQuery shownQuery() const;

    // Tab's order: the name, the five clauses, then the buttons; it wraps
    // round inside the window.
    QList<QWidget*> tabChain() const;

signals:
    void runWanted(const qv::query::SqlQuery& query);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showQuery(const SqlQuery& query);
    void save(int index);

    Prompter& prompter_;
    QList<SqlQuery> rows_;
    int current_ = -1;
};

} // namespace qv::query
