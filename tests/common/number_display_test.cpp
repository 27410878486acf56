#include "common/number_display.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

bool inWholeDigitsRange(double v)
{
    return std::abs(v) >= qv::WholeDigitsFrom && std::abs(v) < qv::WholeDigitsBelow;
}

} // namespace

// Below 1e15, numbers are written with the same digits as
// QString::number(value, 'g', 15).
TEST(NumberText, SameDigitsAsFifteenSignificantDigits)
{
    const double fixed[] = {0.0, -0.0, 1.0, -1.0, 0.1, 0.1 + 0.2, 123.4567, 0.0003, 1e-5, 1.5e-5, 1e21, 1e22,
                            -2.5e-300, 1234567.5, 60.0, 1.0 / 3, 99999999999999.9, 999999999999999.0, 4.35,
                            2.675,
                            // exact halves at the sixteenth digit
                            63970334517163.25, -678174798083932.5, 1234567890123.125, 0.5};
    for (double v : fixed)
        EXPECT_EQ(qv::numberText(v), QString::number(v, 'g', 15)) << v;
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-20, 20);
    std::uniform_int_distribution<long long> whole(0, 1LL << 52);
    for (int i = 0; i < 20000; ++i) {
        const double v = mantissa(random) * std::pow(10.0, exponent(random));
        const double money = std::round(v * 100) / 100;
        const double quarters = static_cast<double>(whole(random)) / 4; // many exact halves
        for (const double n : {v, money, quarters}) {
            const QString text = qv::numberText(n);
            if (inWholeDigitsRange(n)) {
                // Every digit: no exponent, and it reads back as the same number.
                ASSERT_FALSE(text.contains(QLatin1Char('e'))) << n;
                ASSERT_EQ(text.toDouble(), n) << text.toStdString();
            } else {
                ASSERT_EQ(text, QString::number(n, 'g', 15)) << n;
            }
        }
    }
}

// Sums of 1e15 and more show every digit, where fifteen significant digits
// would write "1.259e+15".
TEST(NumberText, LargeAmountsShowEveryDigit)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {1259000000000000.0, "1259000000000000"}, {-1e15, "-1000000000000000"},
        {1234567890123456.0, "1234567890123456"}, {1234567890123456.75, "1234567890123456.8"},
        {9007199254740993.0, "9007199254740992"}, // the nearest double
        {1e20, "100000000000000000000"},          {1e21, "1e+21"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::numberText(c.value), QLatin1String(c.text)) << c.text;
}

TEST(NumberText, GroupsOfThreeDigitsBeforeThePoint)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {-1000, "-1,000"},
        {100000, "100,000"},
        {-1234567.5, "-1,234,567.5"},
        {0.0003, "0.0003"},
        {1259000000000000, "1,259,000,000,000,000"},
        {1e21, "1e+21"}, // an exponent is not grouped
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::groupedNumberText(c.value), QLatin1String(c.text)) << c.text;
}
