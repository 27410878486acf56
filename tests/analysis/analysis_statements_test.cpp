// The statements the analyses run, as text.
#include "analysis/core/analysis_statements.h"

#include <gtest/gtest.h>

namespace qv::analysis {
namespace {

const QString head = QStringLiteral("SELECT a.[Auction ID], a.[Round], a.[License Name], a.[Market], "
                                    "a.[Block], a.[Submarket], m.[Market Name], "
                                    "a.[Bidder], a.[Increments of Bid], a.[Gross Bid Amount], a.[Net Bid "
                                    "Amount] FROM [All Bids] a, [Markets] m "
                                    "WHERE a.[Round] Between 3 AND 8");

TEST(AnalysisStatements, CandidateLists)
{
    EXPECT_EQ(candidateStatement(AnalysisKind::Markets, 3, 8),
              QStringLiteral("SELECT DISTINCT [License Name] FROM [All Bids] WHERE [Round] BETWEEN 3 AND 8 "
                             "ORDER BY [License Name]"));
    EXPECT_EQ(candidateStatement(AnalysisKind::Bidders, 10, 12),
              QStringLiteral("SELECT DISTINCT [Bidder] FROM [All Bids] WHERE [Round] BETWEEN 10 AND 12 "
                             "ORDER BY [Bidder]"));
    EXPECT_TRUE(candidateStatement(AnalysisKind::Rounds, 1, 2).isEmpty());
}

TEST(AnalysisStatements, ChosenNamesInQuotesWithQuotesDoubled)
{
    EXPECT_EQ(inList({QStringLiteral("A"), QStringLiteral("B")}), QStringLiteral("IN('A', 'B') "));
    EXPECT_EQ(inList({QStringLiteral("O'Brien Mobile")}), QStringLiteral("IN('O''Brien Mobile') "));
}

TEST(AnalysisStatements, TheThreeAnalysisQueries)
{
    const QString list = QStringLiteral("IN('A', 'B') ");
    EXPECT_EQ(
        analysisStatement(AnalysisKind::Markets, 3, 8, list),
        head + QStringLiteral(" AND a.[License Name] IN('A', 'B')  AND a.[License Name] = m.[License Name] "
                              "AND a.[Auction ID] = m.[Auction ID] AND a.[Round] = m.[Round] "
                              "ORDER BY a.[Market]"));
    EXPECT_EQ(analysisStatement(AnalysisKind::Bidders, 3, 8, list),
              head + QStringLiteral(" AND a.[Bidder] IN('A', 'B')  AND a.[License Name] = m.[License Name] "
                                    "AND a.[Round] = m.[Round] AND a.[Auction ID] = m.[Auction ID] "
                                    "ORDER BY a.[Market]"));
    EXPECT_EQ(
        analysisStatement(AnalysisKind::Rounds, 3, 8),
        head + QStringLiteral(" AND a.[License Name] = m.[License Name] AND a.[Auction ID] = m.[Auction ID] "
                              "AND a.[Round] = m.[Round] ORDER BY a.[Round]"));
}

} // namespace
} // namespace qv::analysis
