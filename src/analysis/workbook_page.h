#pragma once

#include <QWidget>

namespace qv::analysis {

struct Workbook;
class PivotView;

// One workbook: its first pivot table above the sheet it was made from.
class WorkbookPage : public QWidget {
    Q_OBJECT
public:
    WorkbookPage(const Workbook& book, QWidget* parent = nullptr);
    PivotView* pivotView() const { return pivot_; }

private:
    PivotView* pivot_ = nullptr;
};

} // namespace qv::analysis
