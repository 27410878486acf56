// How the dialect reads texts as numbers and dates and writes numbers as
// texts: the rules its functions and comparisons share.
#include "store/dialect/conversions.h"

#include <gtest/gtest.h>

#include "support/qt_printers.h"

using namespace qv::store::dialect;

namespace {

struct TextCase {
    const char* text;
    const char* expected; // the stored form of the date, or the number as text; "none" when refused
};

TEST(DialectConversions, textsReadAsDates)
{
    const TextCase cases[] = {
        {"1/7/2026", "2026-01-07"},
        {" 1/7/2026 ", "2026-01-07"},
        {"01/07/26", "2026-01-07"}, // two-digit years 00-29: 2000s
        {"1/7/45", "1945-01-07"},   // 30-99: 1900s
        {"1/7/2026 2:05:09 PM", "2026-01-07 14:05:09"},
        {"1/7/2026 12:30 AM", "2026-01-07 00:30:00"},
        {"1/7/2026 12:30 PM", "2026-01-07 12:30:00"},
        {"1/7/2026 14:05", "2026-01-07 14:05:00"},
        {"12:30", "1899-12-30 12:30:00"}, // a time alone is on day 0
        {"4:35:47 PM", "1899-12-30 16:35:47"},
        {"31-Jan-95", "1995-01-31"},
        {"7 January 2026", "2026-01-07"},
        {"February 12, 1969", "1969-02-12"},
        {"Feb 12 1969", "1969-02-12"},
        {"2026-01-07", "2026-01-07"}, // as stored
        {"2026-01-07 14:05:09", "2026-01-07 14:05:09"},
        {"2026/1/7", "2026-01-07"},
        {"13/1/2026", "none"}, // month/day: no thirteenth month
        {"2/30/2026", "none"},
        {"2/29/2024", "2024-02-29"},
        {"2/29/2026", "none"},
        {"1/7/2026 25:00", "none"},
        {"1/7/2026 13:00 PM", "none"},
        {"12", "none"}, // a bare number is no date
        {"abc", "none"},
        {"", "none"},
        {"Janvier 7, 2026", "none"},
    };
    for (const TextCase& c : cases) {
        const auto date = textToDate(QString::fromUtf8(c.text));
        EXPECT_EQ(date ? dateToStored(*date) : QStringLiteral("none"), QString::fromUtf8(c.expected))
            << c.text;
    }
}

TEST(DialectConversions, textsReadAsNumbers)
{
    const TextCase cases[] = {
        {"12", "12"},
        {" 12 ", "12"},
        {"-12.5", "-12.5"},
        {"+3", "3"},
        {"1,234", "1234"},
        {"1,234.5", "1234.5"},
        {"$1,234.50", "1234.5"},
        {"-$5", "-5"},
        {"(12)", "-12"},
        {"1e3", "1000"},
        {"1.5E-2", "0.015"},
        {"&HFF", "255"},
        {"&HFFFF", "-1"},
        {"&H10000", "65536"},
        {"&O17", "15"},
        {".5", "0.5"},
        {"12abc", "none"},
        {"1.2.3", "none"},
        {"", "none"},
        {"-", "none"},
        {"1e", "none"},
        {"abc", "none"},
        {"&HZZ", "none"},
        {"1 2", "none"},
    };
    for (const TextCase& c : cases) {
        const auto n = textToNumber(QString::fromUtf8(c.text));
        EXPECT_EQ(n ? numberToText(*n) : QStringLiteral("none"), QString::fromUtf8(c.expected)) << c.text;
    }
}

TEST(DialectConversions, numbersWrittenAsTexts)
{
    EXPECT_EQ(numberToText(3.0), QStringLiteral("3"));
    EXPECT_EQ(numberToText(-0.5), QStringLiteral("-0.5"));
    EXPECT_EQ(numberToText(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(numberToText(1.0 / 3.0), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(numberToText(123456789012345.0), QStringLiteral("123456789012345"));
    EXPECT_EQ(numberToText(1259000000000000.0), QStringLiteral("1259000000000000")); // whole amounts in full
    EXPECT_EQ(numberToText(1259000000000000.5), QStringLiteral("1.259E+15"));
    EXPECT_EQ(numberToText(1e20), QStringLiteral("1E+20"));
    EXPECT_EQ(numberToText(0.00001), QStringLiteral("1E-05"));
}

TEST(DialectConversions, roundingDecidesTheHalfOnTheWrittenDigits)
{
    struct Rounding {
        double value;
        int decimals;
        double even;
        double away;
    };
    const Rounding cases[] = {
        {2.5, 0, 2, 3},
        {3.5, 0, 4, 4},
        {-2.5, 0, -2, -3},
        {0.5, 0, 0, 1},
        {0.12345, 4, 0.1234, 0.1235},
        {0.12355, 4, 0.1236, 0.1236},
        {1.005, 2, 1, 1.01},
        {9.995, 2, 10, 10},
        {1234.5678, 2, 1234.57, 1234.57},
        {0.00005, 4, 0, 0.0001},
        {25.6, 2, 25.6, 25.6},
        {7.0, 0, 7, 7},
    };
    for (const Rounding& r : cases) {
        EXPECT_EQ(roundHalfEven(r.value, r.decimals), r.even) << r.value << " at " << r.decimals;
        EXPECT_EQ(roundHalfAway(r.value, r.decimals), r.away) << r.value << " at " << r.decimals;
    }
}

TEST(DialectConversions, leadingNumbersAsValReadsThem)
{
    EXPECT_EQ(leadingNumber(QStringLiteral(" 2 45 7")), 2457);
    EXPECT_EQ(leadingNumber(QStringLiteral("24 and 57")), 24);
    EXPECT_EQ(leadingNumber(QStringLiteral("1.2.3")), 1.2);
    EXPECT_EQ(leadingNumber(QStringLiteral("-1.5e2x")), -150);
    EXPECT_EQ(leadingNumber(QStringLiteral("1e")), 1);
    EXPECT_EQ(leadingNumber(QStringLiteral("&HFFFF")), -1);
    EXPECT_EQ(leadingNumber(QStringLiteral("&HFFFFG")), -1);
    EXPECT_EQ(leadingNumber(QStringLiteral("&O777")), 511);
    EXPECT_EQ(leadingNumber(QStringLiteral("abc")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral(".5.")), 0.5);
}

TEST(DialectConversions, datesAsSerialsAndAsText)
{
    EXPECT_EQ(serialOfDay(1899, 12, 30), 0);
    EXPECT_EQ(serialOfDay(2023, 3, 15), 45000);
    EXPECT_EQ(serialOfDay(2026, 13, 1), serialOfDay(2027, 1, 1)); // months carry over
    EXPECT_EQ(serialOfDay(1980, 6, 0), serialOfDay(1980, 5, 31)); // day 0 is the day before
    EXPECT_EQ(serialOfDay(2026, 0, 1), serialOfDay(2025, 12, 1));
    EXPECT_EQ(dateToText(45000), QStringLiteral("3/15/2023"));
    EXPECT_EQ(dateToText(45000.5), QStringLiteral("3/15/2023 12:00:00 PM"));
    EXPECT_EQ(dateToText(0.75), QStringLiteral("6:00:00 PM"));
    // Before day 0 the fraction still counts forward from midnight.
    EXPECT_EQ(dateToStored(-1.25), QStringLiteral("1899-12-29 06:00:00"));
    const DateParts p = partsOf(45000);
    EXPECT_EQ(p.weekday, 4); // a Wednesday
    EXPECT_EQ(p.dayOfYear, 74);
    EXPECT_TRUE(dateInRange(serialOfDay(100, 1, 1)));
    EXPECT_FALSE(dateInRange(serialOfDay(99, 12, 31)));
    EXPECT_FALSE(dateInRange(serialOfDay(10000, 1, 1)));
}

} // namespace
