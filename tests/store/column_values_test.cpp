// Record set columns: every value comes back as it was read, whatever kinds a
// column mixes and however many distinct texts it holds.
#include "store/column_values.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <string>

using qv::store::ColumnValues;

TEST(ColumnValues, WholeNumbersNullsAndGrowthBeyond32Bits)
{
    ColumnValues c;
    c.appendNull();
    c.appendInteger(7);
    c.appendNull();
    c.appendInteger(-2147483648LL);
    c.appendInteger(5000000000LL); // needs 64 bits: earlier values must survive
    c.appendInteger(3);
    c.finishReading();
    ASSERT_EQ(c.size(), 6);
    EXPECT_TRUE(c.at(0).isNull());
    EXPECT_TRUE(c.isNull(2));
    EXPECT_EQ(c.at(1).typeId(), QMetaType::Int);
    EXPECT_EQ(c.at(1).toInt(), 7);
    EXPECT_EQ(c.at(3).toInt(), -2147483647 - 1);
    EXPECT_EQ(c.at(4).typeId(), QMetaType::LongLong);
    EXPECT_EQ(c.at(4).toLongLong(), 5000000000LL);
    EXPECT_EQ(c.at(5).typeId(), QMetaType::Int);
    EXPECT_TRUE(c.isNumber(5));
    EXPECT_FALSE(c.isNumber(0));
}

TEST(ColumnValues, MixedKindsKeepEveryValueAndItsType)
{
    ColumnValues c;
    c.appendDouble(1.25);
    c.appendNull();
    c.appendText("12abc");
    c.appendInteger(4);
    c.finishReading();
    EXPECT_EQ(c.at(0).typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(c.at(0).toDouble(), 1.25);
    EXPECT_TRUE(c.at(1).isNull());
    EXPECT_EQ(c.at(2).toString(), QStringLiteral("12abc"));
    EXPECT_FALSE(c.isNumber(2));
    EXPECT_EQ(c.at(3).typeId(), QMetaType::Int);
    EXPECT_TRUE(c.isNumber(3));
}

TEST(ColumnValues, TextsRepeatedAndDistinctRoundTrip)
{
    ColumnValues c;
    const std::string umlaut = "Zürich–Nord";
    for (int i = 0; i < 5000; ++i) {
        c.appendText(i % 3 == 0 ? std::string("") : i % 3 == 1 ? umlaut : "bidder " + std::to_string(i));
    }
    c.finishReading();
    for (int i = 0; i < 5000; ++i) {
        const QString expected = i % 3 == 0   ? QString()
                                 : i % 3 == 1 ? QString::fromStdString(umlaut)
                                              : QStringLiteral("bidder %1").arg(i);
        ASSERT_EQ(c.at(i).toString(), expected) << i;
        ASSERT_FALSE(c.at(i).isNull()) << "an empty text is not null";
    }
}

TEST(ColumnValues, DatesComeBackAsDates)
{
    ColumnValues c;
    c.appendDate("2026-12-07");
    c.appendDate("2026-12-07 13:45:00");
    c.appendNull();
    c.finishReading();
    EXPECT_EQ(c.at(0).toDateTime(), QDateTime(QDate(2026, 12, 7), QTime(0, 0)));
    EXPECT_EQ(c.at(1).toDateTime(), QDateTime(QDate(2026, 12, 7), QTime(13, 45)));
    EXPECT_TRUE(c.at(2).isNull());
}
