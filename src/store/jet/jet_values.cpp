#include "store/jet/jet_values.h"

#include "store/field_type.h"

#include <QDateTime>

#include <cmath>

namespace qv::store::jet {

namespace {

constexpr qint64 currencyScale = 10000;
constexpr double firstJetDay = -657434.0; // 100-01-01
constexpr double lastJetDay = 2958465.0;  // 9999-12-31
constexpr qint64 secondsPerDay = 86400;

__extension__ typedef __int128 Wide;

qint64 mantissaOf(double value, int* exponent)
{
    return static_cast<qint64>(std::ldexp(std::frexp(value, exponent), 53));
}

// |candidate - scaled / 10000| scaled by 10000 * 2^16, exact: candidates this far out have at
// most 13 fractional bits.
Wide scaledDistance(double candidate, qint64 scaled)
{
    int exponent = 0;
    const qint64 mantissa = mantissaOf(candidate, &exponent);
    const int shift = exponent - 53 + 16; // candidate * 2^16 = mantissa * 2^shift
    Wide value = Wide(mantissa) * currencyScale;
    value = shift >= 0 ? value << shift : value >> -shift;
    const Wide target = Wide(scaled) << 16;
    return value > target ? value - target : target - value;
}

} // namespace

double currencyToReal(qint64 scaled)
{
    constexpr qint64 exactLimit = qint64(1) << 53;
    if (scaled > -exactLimit && scaled < exactLimit)
        return static_cast<double>(scaled) / double(currencyScale); // one correctly rounded division

    // The integer itself is not a double here: choose among the neighbours of an estimate exactly.
    const double estimate = static_cast<double>(static_cast<long double>(scaled) / currencyScale);
    double best = estimate;
    Wide bestDistance = scaledDistance(best, scaled);
    for (const double candidate : {std::nextafter(estimate, -INFINITY), std::nextafter(estimate, INFINITY)}) {
        const Wide distance = scaledDistance(candidate, scaled);
        int exponent = 0;
        const bool evenTie = distance == bestDistance && (mantissaOf(candidate, &exponent) & 1) == 0;
        if (distance < bestDistance || evenTie) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

std::optional<QString> jetDateToStorage(double days)
{
    if (!std::isfinite(days) || days < firstJetDay || days >= lastJetDay + 1)
        return std::nullopt;
    const double whole = std::trunc(days);
    qint64 day = static_cast<qint64>(whole);
    qint64 seconds = std::llround(std::fabs(days - whole) * double(secondsPerDay));
    if (seconds >= secondsPerDay) {
        seconds -= secondsPerDay;
        ++day;
    }
    const QDate date = QDate(1899, 12, 30).addDays(day);
    if (seconds == 0)
        return dateToStorage(QVariant(date));
    const QTime time = QTime(0, 0).addSecs(static_cast<int>(seconds));
    return dateToStorage(QVariant(QDateTime(date, time, Qt::UTC)));
}

int declaredTextLength(int declaredBytes, JetVersion version)
{
    const int characters = version == JetVersion::Jet4 ? declaredBytes / 2 : declaredBytes;
    return characters <= 0 || characters > 255 ? 255 : characters;
}

} // namespace qv::store::jet
