#pragma once

#include <QString>

namespace qv {

// What the user can do about an error that comes from a state they can
// change (no auction open, a box left incomplete). The error's own message
// stays as it is; the advice is one plain line below it.
enum class Advice {
    None,
    OpenAuction,    // Error 91: no auction open
    OpenGridWindow, // Error 91: no grid window open
    MarginInInches, // Error 13: a margin box not holding a number
};

// Every advice line the program shows; empty for None.
QString adviceLine(Advice advice);

} // namespace qv
