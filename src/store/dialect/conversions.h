#pragma once

#include <QString>

#include <optional>

namespace qv::store::dialect {

// How the dialect turns values into one another, as its engine documents it.
// Dates are serial numbers here: days since 30 December 1899, the fraction the
// time of day (before that day the fraction still counts forward from midnight).

// A number as text: a whole amount in full, else up to 15 significant digits,
// no trailing zeros, a capital E for very large or small numbers ("3", "0.5",
// "1259000000000000", "1E+20", "1E-05").
QString numberToText(double value);

// A text that converts to a number (CDbl, or text used where a number is
// wanted): blanks around it, a sign, a leading $, thousands separators, a
// decimal point, an exponent, or &H / &O with hexadecimal or octal digits.
std::optional<double> textToNumber(const QString& text);

// Val: the number at the start of a text, blanks inside it ignored; &H and &O
// read as a whole number of 16 bits when it fits (&HFFFF is -1), else 32.
double leadingNumber(const QString& text);

// Rounds half to even at the given number of decimals, deciding the half on
// the decimal digits written (0.12345 is a half at 4 decimals).
double roundHalfEven(double value, int decimals);
// Rounds half away from zero, as Format does.
double roundHalfAway(double value, int decimals);

// Dates.
std::optional<double> textToDate(const QString& text);     // m/d/yyyy, ISO, times, month names
std::optional<double> storedToDate(const QString& stored); // "yyyy-MM-dd[ HH:mm:ss]" only
QString dateToStored(double serial);                       // the stored form
QString dateToText(double serial);                         // General Date: "1/7/2026 12:30:00 PM"
bool dateInRange(double serial);                           // years 100 to 9999

// The serial of a calendar day (any month or day, carried over) and back.
double serialOfDay(int year, int month, int day);
struct DateParts {
    int year, month, day, hour, minute, second;
    int weekday; // 1 Sunday .. 7 Saturday
    int dayOfYear;
};
DateParts partsOf(double serial);
double serialOf(const DateParts& p); // from year, month, day, hour, minute, second

// The engine's texts for its run-time errors.
QString errorText(int number);

} // namespace qv::store::dialect
