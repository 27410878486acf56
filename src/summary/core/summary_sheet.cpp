#include "summary/core/summary_sheet.h"

namespace qv::summary {

const char* const leftLabels[10] = {
    "Round Date",
    "Stage",
    "Stage Transition %",
    "Net Bids",
    "Gross Bids",
    "Change in Net Prev Round",
    "Change in Net Prev Day",
    "Total Bids",
    "High Bids",
    "Zelnar Held Licenses",
};
const char* const rightLabels[10] = {
    "Withdrawals",
    "Eligibility Ratio",
    "Pctg of Covered BUs",
    "Bidders At Risk",
    "Eligible Bidders",
    "Additional Activity Required",
    "Waivers",
    "Bidders Reduced",
    "Multi-Increment Bids",
    "Bidders Raising Own High Bid",
};

void SummarySheet::layOut(int auctionNumber)
{
    for (int i = 0; i < 10; ++i) {
        setText(1, i + 3, QLatin1String(leftLabels[i]));
        setText(4, i + 3, QLatin1String(rightLabels[i]));
    }
    setText(3, 1, QStringLiteral("Auction ") + QString::number(auctionNumber));
}

} // namespace qv::summary
