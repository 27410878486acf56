#pragma once

#include <QString>

#include <string>

namespace qv {

// Numbers from 1e15 up to (not including) 1e21 are written with all their
// digits and no exponent.
inline constexpr double WholeDigitsFrom = 1e15;
inline constexpr double WholeDigitsBelow = 1e21;

// A number as the program shows it: up to 15 significant digits, no trailing
// zeros, an exponent only for very small or huge numbers ("1234567.5",
// "0.0003", "1e+21"); from 1e15 every digit ("1259000000000000"). Written
// without the slow general path of QString::number.
QString numberText(double value);
// The same digits appended as Latin-1 bytes, for writers of large outputs.
void appendNumberText(std::string& out, double value);

// The same with a comma between groups of three digits before the point
// ("1,234,567.5", "-1,000"); a number written with an exponent is left as it is.
QString groupedNumberText(double value);
// A comma between groups of three in a run of digits ("1234567" -> "1,234,567").
QString groupedDigits(QString digits);

} // namespace qv
