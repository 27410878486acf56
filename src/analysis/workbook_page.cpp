#include "analysis/workbook_page.h"

#include "analysis/core/pivot_table.h"
#include "analysis/core/workbook.h"
#include "analysis/pivot_chart_view.h"
#include "analysis/pivot_view.h"
#include "analysis/sheet_model.h"

#include <QLabel>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace qv::analysis {

namespace {

QWidget* titled(const QString& title, QWidget* content, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* label = new QLabel(title, box);
    label->setTextFormat(Qt::PlainText);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    layout->addWidget(label);
    layout->addWidget(content, 1);
    return box;
}

} // namespace

WorkbookPage::WorkbookPage(const Workbook& book, QWidget* parent) : QWidget(parent)
{
    auto* splitter = new QSplitter(Qt::Vertical, this);
    if (!book.pivots.empty()) {
        const PivotDefinition& definition = book.pivots.front();
        // The table and its chart share the upper pane, one tab each.
        auto* views = new QTabWidget(splitter);
        views->setObjectName(QStringLiteral("pivotTabs"));
        pivot_ = new PivotView(views);
        pivot_->setObjectName(QStringLiteral("pivotView"));
        PivotResult pivot = computePivot(book, definition);
        pivot_->setPivot(pivot);
        chart_ = new PivotChartView(std::move(pivot), views);
        chart_->setObjectName(QStringLiteral("pivotChart"));
        views->addTab(pivot_, QStringLiteral("Pivot Table"));
        views->addTab(chart_, QStringLiteral("Chart"));
        splitter->addWidget(titled(
            definition.name + QStringLiteral(" (") + definition.sheet + QLatin1Char(')'), views, splitter));
    }
    if (!book.sheets.empty()) {
        const Sheet& sheet = book.sheets.front();
        auto* view = new QTableView(splitter);
        view->setObjectName(QStringLiteral("sheetView"));
        view->setModel(new SheetModel(sheet, view));
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
        view->resizeColumnsToContents();
        splitter->addWidget(titled(sheet.name(), view, splitter));
    }
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
}

} // namespace qv::analysis
