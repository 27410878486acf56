#pragma once

#include <QString>

#include <string>

namespace qv {

// A number as the program shows it: up to 15 significant digits, no trailing
// zeros, an exponent only for very large or small numbers ("1234567.5",
// "0.0003", "1e+20"). Written without the slow general path of QString::number.
QString numberText(double value);
// The same digits appended as Latin-1 bytes, for writers of large outputs.
void appendNumberText(std::string& out, double value);

} // namespace qv
