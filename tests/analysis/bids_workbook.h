#pragma once

#include "analysis/core/workbook.h"

#include <vector>

namespace qv::test {

struct Bid {
    int round;
    QString bidder;
    QVariant amount;
};

// A workbook of bids with a pivot table over them: rounds down, bidders
// across, amounts summed.
inline analysis::WorkbookModel bidsWorkbook(const std::vector<Bid>& bids)
{
    using namespace analysis;
    WorkbookModel app;
    app.addWorkbook();
    app.activateSheet(QStringLiteral("sheet1"));
    app.setCell(1, 1, QStringLiteral("Round"));
    app.setCell(1, 2, QStringLiteral("Bidder"));
    app.setCell(1, 3, QStringLiteral("Amount"));
    int r = 2;
    for (const Bid& bid : bids) {
        app.setCell(r, 1, bid.round);
        app.setCell(r, 2, bid.bidder);
        app.setCell(r, 3, bid.amount);
        ++r;
    }
    app.selectColumns(QStringLiteral("A:C"));
    app.pivotTableWizard(SourceTypeDatabase, QStringLiteral("Sheet1!C1:C3"), QString(), QStringLiteral("P"));
    app.addPivotFields(QStringLiteral("P"), {QStringLiteral("Round")}, {QStringLiteral("Bidder")});
    app.setPivotFieldOrientation(QStringLiteral("P"), QStringLiteral("Amount"), PivotOrientation::Data);
    return app;
}

} // namespace qv::test
