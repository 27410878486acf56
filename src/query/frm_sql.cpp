#include "query/frm_sql.h"

#include "common/error.h"
#include "common/prompter.h"
#include "query/core/saved_queries.h"
#include "store/session.h"
#include "store/user_tables.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv::query {

namespace {

QToolButton* navButton(const char* text, const char* tip, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(QString::fromUtf8(text));
    button->setToolTip(QString::fromUtf8(tip));
    button->setAutoRaise(true);
    return button;
}

store::Database* currentDatabase()
{
    return session().CurrentDatabase.get();
}

} // namespace

QueryNavigator::QueryNavigator(QWidget* parent) : QWidget(parent)
{
    first = navButton("|<", "First query", this);
    previous = navButton("<", "Previous query", this);
    caption_ = new QLabel(this);
    caption_->setFrameShape(QFrame::StyledPanel);
    caption_->setTextFormat(Qt::PlainText); // a query's name, as the user typed it
    caption_->setMinimumWidth(220);
    next = navButton(">", "Next query", this);
    last = navButton(">|", "Last query", this);
    addNew = navButton("New", "A new query", this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    for (QWidget* w : std::initializer_list<QWidget*>{first, previous, caption_, next, last, addNew})
        row->addWidget(w, w == caption_ ? 1 : 0);
}

QString QueryNavigator::caption() const
{
    return caption_->text();
}

void QueryNavigator::setCaption(const QString& caption)
{
    caption_->setText(caption);
}

// A tool window of the program's: owned by the main window, it stays in front
// of it, after every message box too.
frmSql::frmSql(Prompter& prompter, QWidget* parent) : QWidget(parent, Qt::Tool), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmSql"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("SQL Query Wizard"));

    queryNavigator = new QueryNavigator(this);
    queryNavigator->setObjectName(QStringLiteral("queryNavigator"));
    auto* fields = new QGroupBox(QStringLiteral("SQL Fields"), this);
    auto* form = new QFormLayout(fields);
    const char* const labels[6] = {"Select", "Into", "From", "Where", "Order By", "Query Name"};
    for (int i = 0; i < 6; ++i) {
        txtSql[i] = new QLineEdit(fields);
        txtSql[i]->setObjectName(QStringLiteral("txtSql") + QString::number(i));
        txtSql[i]->setMinimumWidth(420);
    }
    // The name first: nothing else can be typed before it.
    for (int i : {5, 0, 1, 2, 3, 4})
        form->addRow(QString::fromUtf8(labels[i]), txtSql[i]);

    cmdRun = new QPushButton(QStringLiteral("Run"), this);
    cmdRun->setObjectName(QStringLiteral("cmdRun"));
    cdmDelete = new QPushButton(QStringLiteral("Delete"), this);
    cdmDelete->setObjectName(QStringLiteral("cdmDelete"));
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRun);
    buttons->addWidget(cdmDelete);
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addWidget(queryNavigator);
    layout->addLayout(buttons);

    for (int i = 0; i < 6; ++i)
        connect(txtSql[i], &QLineEdit::textEdited, this, [this, i] {
            txtSql_Change(i);
            save(i);
        });
    connect(txtSql[1], &QLineEdit::editingFinished, this, &frmSql::txtSql1_Validate);
    connect(queryNavigator->first, &QToolButton::clicked, this, [this] { moveTo(rows_.isEmpty() ? -1 : 0); });
    connect(queryNavigator->previous, &QToolButton::clicked, this, [this] {
        if (current_ > 0)
            moveTo(current_ - 1);
    });
    connect(queryNavigator->next, &QToolButton::clicked, this, [this] {
        if (current_ >= 0 && current_ + 1 < rows_.size())
            moveTo(current_ + 1);
    });
    connect(queryNavigator->last, &QToolButton::clicked, this,
            [this] { moveTo(static_cast<int>(rows_.size()) - 1); });
    connect(queryNavigator->addNew, &QToolButton::clicked, this, [this] { moveTo(-1); });
    connect(cmdRun, &QPushButton::clicked, this, &frmSql::cmdRun_Click);
    connect(cdmDelete, &QPushButton::clicked, this, &frmSql::cdmDelete_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmSql::cmdClose_Click);

    const QList<QWidget*> chain = tabChain();
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    Form_Load();
}

QList<QWidget*> frmSql::tabChain() const
{
    return {txtSql[5],
            txtSql[0],
            txtSql[1],
            txtSql[2],
            txtSql[3],
            txtSql[4],
            queryNavigator->first,
            queryNavigator->previous,
            queryNavigator->next,
            queryNavigator->last,
            queryNavigator->addNew,
            cmdRun,
            cdmDelete,
            cmdClose};
}

bool frmSql::focusNextPrevChild(bool next)
{
    // The window is a tool window of the frame: Qt's own chain would carry
    // the focus on into the frame's windows behind it.
    const QList<QWidget*> chain = tabChain();
    const qsizetype size = chain.size();
    qsizetype at = chain.indexOf(focusWidget());
    if (at < 0)
        at = next ? size - 1 : 0;
    for (qsizetype step = 1; step <= size; ++step) {
        QWidget* candidate = chain[((at + (next ? step : -step)) % size + size) % size];
        if (candidate->isEnabled() && candidate->isVisible() && (candidate->focusPolicy() & Qt::TabFocus)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}

void frmSql::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmSql::Form_Load()
{
    rows_.clear();
    current_ = -1;
    if (store::Database* database = currentDatabase()) {
        try {
            rows_ = SavedQueries(*database).all();
        } catch (const Error& error) {
            prompter_.error(error, ErrorLayout::Report);
        }
    }
    moveTo(rows_.isEmpty() ? -1 : 0);
}

void frmSql::moveTo(int position)
{
    // An Into still being typed is kept (or refused) before the boxes change.
    txtSql1_Validate();
    current_ = position >= 0 && position < rows_.size() ? position : -1;
    showQuery(current_ >= 0 ? rows_[current_] : SqlQuery{});
    queryNavigator_Reposition();
}

void frmSql::showQuery(const SqlQuery& query)
{
    // setText() raises no textEdited(): filling the boxes saves nothing.
    for (int i = 0; i < 6; ++i)
        txtSql[i]->setText(query.clause(i));
    txtSql_Change(5);
}

void frmSql::queryNavigator_Reposition()
{
    queryNavigator->setCaption(current_ >= 0 ? rows_[current_].name : QString());
}

void frmSql::txtSql_Change(int)
{
    const bool named = !txtSql[5]->text().trimmed().isEmpty();
    for (int i = 0; i < 5; ++i)
        txtSql[i]->setEnabled(named);
    queryNavigator->setCaption(named ? txtSql[5]->text() : QString());
}

void frmSql::save(int index)
{
    store::Database* database = currentDatabase();
    if (database == nullptr)
        return;
    const QString text = txtSql[index]->text();
    SavedQueries saved(*database);
    try {
        if (current_ < 0) {
            // A new query is saved once it has a name.
            if (index != 5 || text.trimmed().isEmpty())
                return;
            const SqlQuery query = shownQuery();
            saved.add(query);
            rows_ << query;
            current_ = static_cast<int>(rows_.size()) - 1;
            return;
        }
        // A name cleared on the way to another is not saved: the row keeps its key.
        if (index == 5 && text.trimmed().isEmpty())
            return;
        // The Into waits for its typing to end: "[Top" on the way to "[Top Bids]"
        // names no table, and "Top " on the way to "Top Bids" another one.
        if (index == 1)
            return;
        saved.setClause(rows_[current_].name, index, text);
        rows_[current_].setClause(index, text);
    } catch (const Error& error) {
        prompter_.error(error, ErrorLayout::Report);
        // The box goes back to what the row holds: nothing is cut silently.
        txtSql[index]->setText(current_ >= 0 ? rows_[current_].clause(index) : QString());
        txtSql_Change(index);
    }
}

bool frmSql::txtSql1_Validate()
{
    store::Database* database = currentDatabase();
    if (database == nullptr || current_ < 0 || current_ >= rows_.size() ||
        txtSql[1]->text() == rows_[current_].into)
        return true;
    const QString text = txtSql[1]->text();
    try {
        const QString problem = text.isEmpty() ? QString() : store::intoProblem(*database, text);
        if (problem.isEmpty()) {
            SavedQueries(*database).setClause(rows_[current_].name, 1, text);
            rows_[current_].into = text;
            return true;
        }
        prompter_.errorMessage(problem, QStringLiteral("Error"), Icon::Exclamation);
    } catch (const Error& error) {
        prompter_.error(error, ErrorLayout::Report);
    }
    // The box goes back to what the row holds: nothing of the refused text is kept.
    txtSql[1]->setText(rows_[current_].into);
    return false;
}

void frmSql::cmdRun_Click()
{
    if (txtSql1_Validate())
        emit runWanted(shownQuery());
}

SqlQuery frmSql::shownQuery() const
{
    SqlQuery query;
    for (int i = 0; i < 6; ++i)
        query.setClause(i, txtSql[i]->text());
    return query;
}

void frmSql::closeEvent(QCloseEvent* event)
{
    txtSql1_Validate();
    QWidget::closeEvent(event);
}

void frmSql::cdmDelete_Click()
{
    // Each step is skipped quietly when it cannot be done (an empty table).
    store::Database* database = currentDatabase();
    if (database != nullptr && current_ >= 0) {
        try {
            SavedQueries(*database).remove(rows_[current_].name);
        } catch (const Error&) {
        }
    }
    Form_Load();
}

void frmSql::cmdClose_Click()
{
    close();
}

} // namespace qv::query
