#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

// Numbers are written with the same digits as QString::number(value, 'g', 15).
TEST(NumberText, SameDigitsAsFifteenSignificantDigits)
{
    const double fixed[] = {0.0, -0.0, 1.0, -1.0, 0.1, 0.1 + 0.2, 123.4567, 0.0003, 1e-5, 1.5e-5, 1e15, 1e16,
                            1e20, -2.5e-300, 1234567.5, 60.0, 1.0 / 3, 99999999999999.9, 123456789012345678.0,
                            4.35, 2.675,
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
        ASSERT_EQ(qv::numberText(v), QString::number(v, 'g', 15)) << v;
        const double money = std::round(v * 100) / 100;
        ASSERT_EQ(qv::numberText(money), QString::number(money, 'g', 15)) << money;
        const double quarters = static_cast<double>(whole(random)) / 4; // many exact halves
        ASSERT_EQ(qv::numberText(quarters), QString::number(quarters, 'g', 15)) << quarters;
    }
}
