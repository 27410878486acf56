#include "analysis/pivot_view.h"

#include "common/number_display.h"

#include <QPainter>

namespace qv::analysis {

// ---- Model

PivotModel::PivotModel(PivotResult pivot, QObject* parent)
    : QAbstractTableModel(parent), pivot_(std::move(pivot))
{
}

int PivotModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : pivot_.rowCount();
}

int PivotModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : pivot_.columnCount();
}

QVariant PivotModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::DisplayRole) {
        // Amounts with their thousands marked, as the spreadsheet programs show them.
        const std::optional<double> value = pivot_.value(index.row(), index.column());
        return value ? groupedNumberText(*value) : QString();
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter | Qt::AlignRight);
    return {};
}

QVariant PivotModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical) {
        QStringList items;
        for (int level = 0; level < pivot_.rowFields.size(); ++level)
            items << pivot_.rowItem(section, level).display();
        return items.join(QStringLiteral(" / "));
    }
    QStringList items;
    for (int level = 0; level < pivot_.columnFields.size(); ++level)
        items << pivot_.columnItem(section, level).display();
    return items.join(QLatin1Char('\n'));
}

// ---- Nested column headers

PivotHeaderView::PivotHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
}

void PivotHeaderView::setPivot(const PivotResult* pivot)
{
    pivot_ = pivot;
    updateGeometry();
    viewport()->update();
}

int PivotHeaderView::lineHeight() const
{
    return fontMetrics().height() + 6;
}

int PivotHeaderView::lines() const
{
    // A line for the data field's name above the items' lines.
    return 1 + (pivot_ != nullptr ? std::max<int>(1, static_cast<int>(pivot_->columnFields.size())) : 1);
}

QSize PivotHeaderView::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(lines() * lineHeight());
    return size;
}

void PivotHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (pivot_ == nullptr || logicalIndex >= pivot_->columnCount())
        return;
    painter->save();
    painter->setClipRect(rect);
    painter->fillRect(rect, palette().button());
    const int line = lineHeight();
    const QRect visible = viewport()->rect();
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(rect.left(), rect.top() + line - 1, rect.right(), rect.top() + line - 1);
    for (int level = 0; level < pivot_->columnFields.size(); ++level) {
        const int first = pivot_->groupFirst(logicalIndex, level);
        const int last = pivot_->groupLast(logicalIndex, level);
        const int left = sectionViewportPosition(first);
        const int right = sectionViewportPosition(last) + sectionSize(last);
        const QRect group(left, rect.top() + (level + 1) * line, right - left, line);
        painter->setPen(palette().color(QPalette::Mid));
        painter->drawLine(rect.left(), group.bottom(), rect.right(), group.bottom());
        if (logicalIndex == last)
            painter->drawLine(rect.right(), group.top(), rect.right(), group.bottom());
        // Every section of a group draws the same text over the group's
        // visible part; each shows its own slice of it.
        const QRect textRect = group.intersected(QRect(visible.left(), group.top(), visible.width(), line));
        painter->setPen(palette().color(QPalette::ButtonText));
        const QString text = pivot_->columnItem(logicalIndex, level).display();
        painter->drawText(textRect.adjusted(3, 0, -3, 0), Qt::AlignCenter,
                          fontMetrics().elidedText(text, Qt::ElideRight, std::max(0, textRect.width() - 6)));
    }
    painter->restore();
}

// ---- The view

namespace {

// The corner: the data field's name, then each column field's name beside
// its line of items, and the row field's name over the rounds.
class PivotCorner : public QWidget {
public:
    PivotCorner(PivotView* view) : QWidget(view), view_(view) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().button());
        const PivotModel* model = view_->pivotModel();
        if (model == nullptr)
            return;
        const PivotResult& pivot = model->pivot();
        const int line = view_->pivotHeader()->lineHeight();
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        painter.drawText(QRect(4, 0, width() - 8, line), Qt::AlignLeft | Qt::AlignVCenter, pivot.dataCaption);
        painter.setFont(font());
        const int levels = static_cast<int>(pivot.columnFields.size());
        for (int level = 0; level < levels; ++level) {
            const QRect lineRect(4, (level + 1) * line, width() - 8, line);
            painter.drawText(lineRect, Qt::AlignRight | Qt::AlignVCenter, pivot.columnFields[level]);
            if (level == levels - 1) {
                painter.setFont(bold);
                painter.drawText(lineRect, Qt::AlignLeft | Qt::AlignVCenter,
                                 pivot.rowFields.join(QStringLiteral(" / ")));
                painter.setFont(font());
            }
        }
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(width() - 1, 0, width() - 1, height());
        painter.drawLine(0, height() - 1, width(), height() - 1);
    }

private:
    PivotView* view_;
};

} // namespace

PivotView::PivotView(QWidget* parent) : QTableView(parent), header_(new PivotHeaderView(this))
{
    setHorizontalHeader(header_);
    setCornerButtonEnabled(false);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    corner_ = new PivotCorner(this);
}

void PivotView::setPivot(PivotResult pivot)
{
    auto* model = new PivotModel(std::move(pivot), this);
    QAbstractItemModel* old = QTableView::model();
    setModel(model);
    delete old;
    model_ = model;
    header_->setPivot(&model->pivot());
    // Wide enough for the items that stand over one column alone, up to a limit.
    const PivotResult& p = model->pivot();
    const QFontMetrics metrics = header_->fontMetrics();
    const int widest = metrics.horizontalAdvance(QStringLiteral("0,000,000,000")) + 12;
    // Each item's text is measured once: columns share them.
    std::vector<std::vector<int>> itemWidths(size_t(p.columnFields.size()));
    for (size_t level = 0; level < itemWidths.size(); ++level) {
        for (const PivotItem& item : p.columnFieldItems(int(level)))
            itemWidths[level].push_back(metrics.horizontalAdvance(item.display()) + 12);
    }
    // While the header does not update, a resize does not work out where
    // every section starts again: tens of thousands of columns take seconds.
    header_->setUpdatesEnabled(false);
    for (int c = 0; c < p.columnCount(); ++c) {
        int width = widest;
        for (int level = 0; level < p.columnFields.size(); ++level) {
            if (p.groupFirst(c, level) == c && p.groupLast(c, level) == c)
                width = std::max(width, itemWidths[size_t(level)][size_t(p.columnKey(c)[size_t(level)])]);
        }
        header_->resizeSection(c, std::min(width, 180));
    }
    header_->setUpdatesEnabled(true);
    const QFontMetrics own = fontMetrics();
    QFont bold = font();
    bold.setBold(true);
    int cornerWidth = QFontMetrics(bold).horizontalAdvance(p.dataCaption) + 16;
    for (const QString& name : p.columnFields)
        cornerWidth = std::max(cornerWidth, own.horizontalAdvance(name + QStringLiteral("  Round")) + 24);
    verticalHeader()->setMinimumWidth(cornerWidth);
    updateGeometries();
    corner_->update();
}

void PivotView::updateGeometries()
{
    QTableView::updateGeometries();
    if (corner_ == nullptr)
        return;
    const int frame = frameWidth();
    corner_->setGeometry(frame, frame, verticalHeader()->width(), horizontalHeader()->height());
    corner_->raise();
}

} // namespace qv::analysis
