#include "grid/frm_table_actions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qv::grid {

namespace {

frmTableActions::ModalRunner& modalRunner()
{
    static frmTableActions::ModalRunner runner;
    return runner;
}

const char* const operators[] = {"=", "<>", ">", ">=", "<", "<="};

QString name(const char* prefix, int number)
{
    return QLatin1String(prefix) + QString::number(number);
}

// Adds an entry without choosing it: a list that had no choice keeps none.
void appendQuietly(QComboBox* list, const QString& text)
{
    const QSignalBlocker quiet(list);
    const int current = list->currentIndex();
    list->addItem(text);
    list->setCurrentIndex(current);
}

void removeQuietly(QComboBox* list, int position)
{
    const QSignalBlocker quiet(list);
    const bool wasCurrent = list->currentIndex() == position;
    list->removeItem(position);
    if (wasCurrent)
        list->setCurrentIndex(-1);
}

QListWidgetItem* ticked(const QString& text)
{
    auto* item = new QListWidgetItem(text);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    return item;
}

} // namespace

frmTableActions::frmTableActions(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTableActions"));
    setWindowTitle(QStringLiteral("Table Actions"));
    setModal(true);
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildSortTab(), QStringLiteral("Sort"));
    SSTab1->addTab(buildFilterTab(), QStringLiteral("Filter"));
    SSTab1->addTab(buildWizardTab(), QStringLiteral("Table Wizard"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    setCancelled(false);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTableActions::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addWidget(buttons);
}

QWidget* frmTableActions::buildSortTab()
{
    auto* tab = new QWidget;
    lstSource = new ActionList(tab);
    lstSource->setObjectName(QStringLiteral("lstSource"));
    lstSortCols = new ActionList(tab);
    lstSortCols->setObjectName(QStringLiteral("lstSortCols"));
    lstSource->setPartner(lstSortCols);
    lstSortCols->setPartner(lstSource);
    auto* grid = new QGridLayout(tab);
    grid->addWidget(new QLabel(QStringLiteral("                    Source Data"), tab), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Ascending        Columns"), tab), 0, 1);
    grid->addWidget(lstSource, 1, 0);
    grid->addWidget(lstSortCols, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Drag and drop or double click items."), tab), 2, 0, 1, 2);

    connect(lstSource, &QListWidget::itemDoubleClicked, this, &frmTableActions::lstSource_DblClick);
    connect(lstSortCols, &QListWidget::itemDoubleClicked, this, &frmTableActions::lstSortCols_DblClick);
    connect(lstSource, &ActionList::dragStarted, this, &frmTableActions::lstSource_StartDrag);
    connect(lstSortCols, &ActionList::dragStarted, this, &frmTableActions::lstSortCols_StartDrag);
    connect(lstSource, &ActionList::dropped, this,
            [this](const QString& text, bool) { lstSource_DragDrop(text); });
    connect(lstSortCols, &ActionList::dropped, this,
            [this](const QString& text, bool) { lstSortCols_DragDrop(text); });
    return tab;
}

QWidget* frmTableActions::buildFilterTab()
{
    auto* tab = new QWidget;
    auto* grid = new QGridLayout(tab);
    const char* const headings[] = {"Column", "Operator", "Filter", "And/Or"};
    for (int c = 0; c < 4; ++c)
        grid->addWidget(new QLabel(QLatin1String(headings[c]), tab), 0, c);
    for (int n = 0; n < 4; ++n) {
        lstFiltCol[n] = new QComboBox(tab);
        lstFiltCol[n]->setObjectName(name("lstFiltCol", n + 1));
        lstFiltCol[n]->setMinimumContentsLength(22);
        lstFiltCol[n]->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        lstOp[n] = new QComboBox(tab);
        lstOp[n]->setObjectName(name("lstOp", n + 1));
        for (const char* op : operators)
            lstOp[n]->addItem(QLatin1String(op));
        lstOp[n]->setCurrentIndex(0);
        txtFilter[n] = new QComboBox(tab);
        txtFilter[n]->setObjectName(name("txtFilter", n + 1));
        txtFilter[n]->setEditable(true);
        txtFilter[n]->setInsertPolicy(QComboBox::NoInsert);
        txtFilter[n]->setMinimumContentsLength(20);
        grid->addWidget(lstFiltCol[n], n + 1, 0);
        grid->addWidget(lstOp[n], n + 1, 1);
        grid->addWidget(txtFilter[n], n + 1, 2);
        if (n < 3) {
            lstAndOr[n] = new QComboBox(tab);
            lstAndOr[n]->setObjectName(name("lstAndOr", n + 1));
            lstAndOr[n]->addItems({QStringLiteral("And"), QStringLiteral("Or")});
            lstAndOr[n]->setCurrentIndex(0);
            grid->addWidget(lstAndOr[n], n + 1, 3);
        }
        connect(lstFiltCol[n], &QComboBox::currentIndexChanged, this, [this, n](int index) {
            if (index >= 0)
                lstFiltCol_Click(n);
        });
    }
    grid->setRowStretch(5, 1);
    return tab;
}

QWidget* frmTableActions::buildWizardTab()
{
    auto* tab = new QWidget;
    lstSourceTable = new ActionList(tab);
    lstSourceTable->setObjectName(QStringLiteral("lstSourceTable"));
    lstTargetTable = new ActionList(tab);
    lstTargetTable->setObjectName(QStringLiteral("lstTargetTable"));
    lstSourceTable->setPartner(lstTargetTable);
    lstTargetTable->setPartner(lstSourceTable);
    txtTableName = new QLineEdit(tab);
    txtTableName->setObjectName(QStringLiteral("txtTableName"));
    chkIncludeAll = new QCheckBox(QStringLiteral("Include All Rounds"), tab);
    chkIncludeAll->setObjectName(QStringLiteral("chkIncludeAll"));
    auto* nameLabel = new QLabel(QStringLiteral("Target Table Name:"), tab);
    nameLabel->setBuddy(txtTableName);

    auto* grid = new QGridLayout(tab);
    grid->addWidget(new QLabel(QStringLiteral("                    Source Table"), tab), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("                     Target Table"), tab), 0, 1);
    grid->addWidget(lstSourceTable, 1, 0);
    grid->addWidget(lstTargetTable, 1, 1);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(txtTableName, 1);
    grid->addLayout(nameRow, 2, 0, 1, 2);
    grid->addWidget(chkIncludeAll, 3, 0, 1, 2);

    connect(lstSourceTable, &QListWidget::itemDoubleClicked, this, &frmTableActions::lstSourceTable_DblClick);
    connect(lstTargetTable, &QListWidget::itemDoubleClicked, this, &frmTableActions::lstTargetTable_DblClick);
    // A list dropped on itself moves nothing.
    connect(lstSourceTable, &ActionList::dropped, this, [this](const QString&, bool fromItself) {
        if (!fromItself)
            lstSourceTable_DragDrop();
    });
    connect(lstTargetTable, &ActionList::dropped, this, [this](const QString&, bool fromItself) {
        if (!fromItself)
            lstTargetTable_DragDrop();
    });
    return tab;
}

bool frmTableActions::cancelled() const
{
    return cmdCancel->property("Cancel").toBool();
}

void frmTableActions::setCancelled(bool cancelled)
{
    cmdCancel->setProperty("Cancel", cancelled);
}

void frmTableActions::reject()
{
    setCancelled(true);
    QDialog::reject();
}

void frmTableActions::setModalRunner(ModalRunner runner)
{
    modalRunner() = std::move(runner);
}

void frmTableActions::showModal()
{
    if (modalRunner()) {
        modalRunner()(*this);
        return;
    }
    exec();
}

QList<query::SortColumn> frmTableActions::sortColumns() const
{
    QList<query::SortColumn> columns;
    for (int i = 0; i < lstSortCols->count(); ++i)
        columns.append({lstSortCols->item(i)->text(), lstSortCols->item(i)->checkState() == Qt::Checked});
    return columns;
}

QList<query::FilterCondition> frmTableActions::conditions() const
{
    QList<query::FilterCondition> rows;
    for (int n = 0; n < 4; ++n)
        rows.append({lstFiltCol[n]->currentText(), lstOp[n]->currentText(), txtFilter[n]->currentText()});
    return rows;
}

QStringList frmTableActions::joiners() const
{
    return {lstAndOr[0]->currentText(), lstAndOr[1]->currentText(), lstAndOr[2]->currentText()};
}

bool frmTableActions::filterChosen() const
{
    return !lstFiltCol[0]->currentText().isEmpty();
}

void frmTableActions::showTab(int tab)
{
    SSTab1->setCurrentIndex(tab);
}

void frmTableActions::setWizardTabEnabled(bool enabled)
{
    SSTab1->setTabEnabled(WizardTab, enabled);
}

QStringList frmTableActions::targetColumns() const
{
    QStringList columns;
    for (int i = 0; i < lstTargetTable->count(); ++i)
        columns << lstTargetTable->item(i)->text();
    return columns;
}

QString frmTableActions::tableName() const
{
    return txtTableName->text();
}

void frmTableActions::setTableName(const QString& name)
{
    txtTableName->setText(name);
}

void frmTableActions::addSourceColumns(const QStringList& fields)
{
    lstSourceTable->addItems(fields);
}

void frmTableActions::prepareColumns(const QStringList& fields)
{
    lstSource->clear();
    lstSortCols->clear();
    for (int n = 0; n < 4; ++n) {
        const QSignalBlocker quietColumn(lstFiltCol[n]);
        const QSignalBlocker quietValue(txtFilter[n]);
        lstFiltCol[n]->clear();
        txtFilter[n]->clear();
        txtFilter[n]->clearEditText();
    }
    for (const QString& field : fields) {
        lstSource->addItem(field);
        for (QComboBox* list : lstFiltCol)
            appendQuietly(list, field);
    }
}

void frmTableActions::appendSortColumn(const QString& text)
{
    lstSortCols->addItem(ticked(text));
}

void frmTableActions::lstSource_DblClick()
{
    QListWidgetItem* item = lstSource->currentItem();
    if (item == nullptr)
        return;
    appendSortColumn(item->text());
    delete lstSource->takeItem(lstSource->row(item));
    lstSortCols->Tag.clear();
}

void frmTableActions::lstSortCols_DblClick()
{
    QListWidgetItem* item = lstSortCols->currentItem();
    if (item == nullptr)
        return;
    lstSource->addItem(item->text());
    delete lstSortCols->takeItem(lstSortCols->row(item));
    lstSource->Tag.clear();
}

void frmTableActions::lstSource_StartDrag()
{
    lstSource->Tag = QStringLiteral("True");
}

void frmTableActions::lstSortCols_StartDrag()
{
    lstSortCols->Tag = QStringLiteral("True");
}

void frmTableActions::lstSortCols_DragDrop(const QString& text)
{
    if (lstSortCols->Tag == QLatin1String("True")) {
        lstSortCols->Tag.clear();
        return;
    }
    if (QListWidgetItem* item = lstSource->currentItem())
        delete lstSource->takeItem(lstSource->row(item));
    appendSortColumn(text);
    lstSource->Tag.clear();
}

void frmTableActions::lstSource_DragDrop(const QString&)
{
    if (lstSource->Tag == QLatin1String("True")) {
        lstSource->Tag.clear();
        return;
    }
    QListWidgetItem* item = lstSortCols->currentItem();
    if (item != nullptr) {
        lstSource->addItem(item->text());
        delete lstSortCols->takeItem(lstSortCols->row(item));
    }
    lstSortCols->Tag.clear();
}

void frmTableActions::addTargetColumn()
{
    QListWidgetItem* item = lstSourceTable->currentItem();
    if (item == nullptr)
        return;
    const QString text = item->text();
    lstTargetTable->addItem(text);
    for (QComboBox* list : lstFiltCol)
        appendQuietly(list, text);
    lstSource->addItem(text);
    delete lstSourceTable->takeItem(lstSourceTable->row(item));
}

void frmTableActions::removeTargetColumn()
{
    QListWidgetItem* item = lstTargetTable->currentItem();
    if (item == nullptr)
        return;
    const int p = lstTargetTable->row(item);
    const QString text = item->text();
    lstSourceTable->addItem(text);
    for (QComboBox* list : lstFiltCol) {
        // The filter lists hold the target columns position for position.
        const int at = list->itemText(p) == text ? p : list->findText(text);
        if (at >= 0)
            removeQuietly(list, at);
    }
    // The user may have moved columns between lstSource and lstSortCols
    // meanwhile: the column leaves whichever of them holds it.
    for (ActionList* list : {lstSource, lstSortCols}) {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        if (!found.isEmpty())
            delete list->takeItem(list->row(found.first()));
    }
    delete lstTargetTable->takeItem(p);
}

void frmTableActions::lstSourceTable_DblClick()
{
    addTargetColumn();
}

void frmTableActions::lstTargetTable_DragDrop()
{
    addTargetColumn();
}

void frmTableActions::lstTargetTable_DblClick()
{
    removeTargetColumn();
}

void frmTableActions::lstSourceTable_DragDrop()
{
    removeTargetColumn();
}

void frmTableActions::lstFiltCol_Click(int row)
{
    const QString column = lstFiltCol[row]->currentText();
    if (column.isEmpty() || !distinctValues)
        return;
    const std::optional<QStringList> values = distinctValues(column);
    if (!values)
        return;
    QComboBox* list = txtFilter[row];
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(*values);
    list->setCurrentIndex(-1);
    list->clearEditText();
}

} // namespace qv::grid
