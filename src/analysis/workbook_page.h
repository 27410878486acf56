#pragma once

#include <QWidget>

namespace qv::analysis {

struct Workbook;
class PivotView;
class PivotChartView;

// One workbook: its first pivot table and its chart above the sheet it was
// made from.
class WorkbookPage : public QWidget {
    Q_OBJECT
public:
    WorkbookPage(const Workbook& book, QWidget* parent = nullptr);
    PivotView* pivotView() const { return pivot_; }
    PivotChartView* chartView() const { return chart_; } // none without a pivot table

private:
    PivotView* pivot_ = nullptr;
    PivotChartView* chart_ = nullptr;
};

} // namespace qv::analysis
