#include "grid/spread_grid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

namespace qv::grid {

SpreadGrid::SpreadGrid(QWidget* parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("MSFlexGrid1"));
    setModel(&model_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Fixed row heights keep scrolling through large tables smooth.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    horizontalHeader()->setDefaultSectionSize(110);
    horizontalHeader()->setHighlightSections(true);
    horizontalHeader()->setTextElideMode(Qt::ElideRight);

    // The frozen columns: a second view over the same model laid over the left.
    // It is given the model only while columns are frozen (see setColsFrozen).
    frozenView_ = new QTableView(this);
    frozenView_->setFocusPolicy(Qt::NoFocus);
    frozenView_->verticalHeader()->hide();
    frozenView_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozenView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozenView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozenView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    frozenView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frozenView_->setStyleSheet(
        QStringLiteral("QTableView { border: none; border-right: 2px solid #606060; }"));
    frozenView_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozenView_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    frozenView_->hide();
    viewport()->stackUnder(frozenView_);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, frozenView_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(frozenView_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (column < frozen_)
            frozenView_->setColumnWidth(column, size);
        layoutFrozenView();
        emit columnWidthChanged();
    });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, [this] { emit rowHeightChanged(); });
    // The widths printed texts need are measured again for new cells.
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] { printedWidths_.reset(); });
    connect(&model_, &QAbstractItemModel::dataChanged, this, [this] { printedWidths_.reset(); });
}

void SpreadGrid::setRecordset(std::shared_ptr<const store::Recordset> rows)
{
    blocks_.clear();
    model_.setRecordset(std::move(rows));
    // Wide enough for each field's name and the first rows' values; the rest
    // are not looked at, so large tables open at once.
    const QFontMetrics headerMetrics = horizontalHeader()->fontMetrics();
    const QFontMetrics cellMetrics = fontMetrics();
    const int sampled = std::min(maxRows(), 100);
    for (int c = 0; c < maxCols(); ++c) {
        int width = headerMetrics.horizontalAdvance(model_.headerData(c, Qt::Horizontal).toString()) + 24;
        for (int r = 0; r < sampled; ++r)
            width = std::max(width, cellMetrics.horizontalAdvance(model_.cellText(r, c)) + 14);
        setColumnWidth(c, std::clamp(width, 60, 320));
    }
    setColsFrozen(frozen_ > maxCols() ? 0 : frozen_);
}

void SpreadGrid::setColWidth(int column, double characters)
{
    const int pixels = static_cast<int>(characters * fontMetrics().averageCharWidth() + 8);
    if (column == 0)
        verticalHeader()->setFixedWidth(pixels);
    else if (column > 0)
        setColumnWidth(column - 1, pixels);
}

double SpreadGrid::colWidth(int column) const
{
    const int pixels = column == 0 ? verticalHeader()->width() : columnWidth(column - 1);
    return double(pixels - 8) / fontMetrics().averageCharWidth();
}

QString SpreadGrid::text() const
{
    if (Col == 0)
        return Row >= 1 ? QString::number(Row) : QString();
    if (Row == 0)
        return model_.headerData(Col - 1, Qt::Horizontal).toString();
    return model_.cellText(Row - 1, Col - 1);
}

void SpreadGrid::setText(const QString& value)
{
    if (Col >= 1 && Row >= 1)
        model_.setCellText(Row - 1, Col - 1, value);
}

void SpreadGrid::setTypeHAlign(Qt::Alignment alignment)
{
    const int firstCol = Col == -1 ? 1 : Col;
    const int lastCol = Col == -1 ? maxCols() : (BlockMode ? Col2 : Col);
    const int firstRow = Row == -1 ? 1 : Row;
    const int lastRow = Row == -1 ? maxRows() : (BlockMode ? Row2 : Row);
    for (int c = std::max(1, firstCol); c <= std::min(lastCol, maxCols()); ++c)
        for (int r = std::max(1, firstRow); r <= std::min(lastRow, maxRows()); ++r)
            model_.setCellAlignment(r - 1, c - 1, alignment | Qt::AlignVCenter);
}

int SpreadGrid::activeCol() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() + 1 : 1;
}

int SpreadGrid::activeRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void SpreadGrid::setColsFrozen(int columns)
{
    frozen_ = std::clamp(columns, 0, maxCols());
    shareModelWithFrozenView(frozen_ > 0);
    if (frozen_ > 0) {
        for (int c = 0; c < maxCols(); ++c) {
            frozenView_->setColumnHidden(c, c >= frozen_);
            if (c < frozen_)
                frozenView_->setColumnWidth(c, columnWidth(c));
        }
    }
    frozenView_->setVisible(frozen_ > 0);
    layoutFrozenView();
}

void SpreadGrid::shareModelWithFrozenView(bool share)
{
    // A view over the model keeps a row header entry for every row, 12 MB for
    // a table of 1.5 million rows, and makes it again on every sort: the
    // frozen view holds the model only while it shows columns.
    const bool sharing = frozenView_->model() == &model_;
    if (share == sharing)
        return;
    QItemSelectionModel* const previous = frozenView_->selectionModel();
    frozenView_->setModel(share ? &model_ : nullptr);
    // Each setModel makes the view a selection model of its own; only the
    // grid's one is shared, and the ones made here are not kept.
    QItemSelectionModel* const made = frozenView_->selectionModel();
    if (share) {
        frozenView_->setSelectionModel(selectionModel());
        delete made;
    }
    if (previous != selectionModel())
        delete previous;
}

int SpreadGrid::frozenWidth() const
{
    int width = 0;
    for (int c = 0; c < frozen_; ++c)
        width += columnWidth(c);
    return width;
}

void SpreadGrid::layoutFrozenView()
{
    if (frozen_ == 0)
        return;
    frozenView_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    frozenView_->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), frozenWidth(),
                             viewport()->height() + horizontalHeader()->height());
    frozenView_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void SpreadGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    layoutFrozenView();
}

QModelIndex SpreadGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = QTableView::moveCursor(action, modifiers);
    // Keep the cursor's cell out from under the frozen columns.
    if (frozen_ > 0 && action == MoveLeft && current.column() >= frozen_ &&
        visualRect(current).topLeft().x() < frozenWidth()) {
        const int offset = visualRect(current).topLeft().x() - frozenWidth();
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + offset);
    }
    return current;
}

void SpreadGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (index.column() >= frozen_)
        QTableView::scrollTo(index, hint);
}

void SpreadGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() != Qt::RightButton)
        return;
    const QModelIndex at = indexAt(event->position().toPoint());
    emit rightClicked(at.isValid() ? at.column() + 1 : -1, at.isValid() ? at.row() + 1 : -1,
                      event->position().toPoint());
}

void SpreadGrid::gatherSelection()
{
    blocks_.clear();
    const QItemSelection selection = selectionModel()->selection();
    for (const QItemSelectionRange& range : selection) {
        const bool wholeColumns = range.top() == 0 && range.bottom() == maxRows() - 1 &&
                                  selectionModel()->isColumnSelected(range.left(), QModelIndex());
        blocks_.append({range.left() + 1, wholeColumns ? -1 : range.top() + 1, range.right() + 1,
                        wholeColumns ? -1 : range.bottom() + 1});
    }
    // The cell with the focus alone is no selection: a Ctrl-click may have
    // taken it out.
}

void SpreadGrid::setSelectionIndex(int index)
{
    if (index < 0 || index >= blocks_.size())
        return;
    const Block& block = blocks_[index];
    Col = block.col;
    Row = block.row;
    Col2 = block.col2;
    Row2 = block.row2;
}

} // namespace qv::grid
