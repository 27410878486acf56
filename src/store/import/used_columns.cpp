#include "store/import/used_columns.h"

namespace qv {

QStringList usedColumnsOf(const QString& suppliedTable)
{
    struct Used {
        const char* table;
        const char* columns; // separated by '|'
    };
    static const Used used[] = {
        {"Round Statistics",
         "Auction ID|Round|Round Date|Stage|Net Bids|Gross Bids|Dollar Change in Net Bids|New Bids|"
         "Total High Bids|Zelnar Held Licenses|Withdrawals|Eligibility Ratio|Pctg of BUs for High Bids|"
         "Bidders At Risk|Eligible Bidders|Waivers|Number Reduced|Pctg of Covered BUs"},
        {"All Bids", "Auction ID|Round|License Name|Market|Block|Submarket|Bidder|Increments of Bid|"
                     "Gross Bid Amount|Net Bid Amount"},
        {"Markets", "Auction ID|Round|License Name|Market Name|Market|Block|Submarket"},
        {"Bidders", "Round|Bidder|Additional Activity Required|Current Eligibility"},
        {"Bidders Raising Own High Bid", "Round"},
        {"Bidders Who Reduced", "Bidder Who Reduced"},
        {"Withdrawal Statistics", "Withdrawal Number"},
        {"Increment Statistics", "Round"},
        {"Waiver Statistics", "Round"},
    };
    for (const Used& u : used)
        if (suppliedTable == QLatin1String(u.table))
            return QString::fromLatin1(u.columns).split(QLatin1Char('|'));
    return {};
}

} // namespace qv
