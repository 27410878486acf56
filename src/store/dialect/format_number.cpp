// Format's number pictures and named number formats.
#include "store/dialect/conversions.h"
#include "store/dialect/format.h"

#include <QStringList>

#include <cmath>
#include <vector>

namespace qv::store::dialect::format {

namespace {

struct Piece {
    enum Kind { Zero, Hash, Point, Comma, Percent, Exponent, Literal } kind;
    QString text; // Literal: its text; Exponent: "E+", "E-", "e+" or "e-"
};

struct Picture {
    std::vector<Piece> pieces;
    int integerPlaces = 0;   // 0 and # before the point
    int minimumInteger = 0;  // from the first 0 before the point
    int fractionPlaces = 0;  // 0 and # after the point
    int minimumFraction = 0; // up to the last 0 after the point
    int exponentPlaces = 0;  // 0 and # after E+
    bool grouping = false;   // a comma between digit places
    int scaling = 0;         // commas just before the point: each divides by 1000
    int percents = 0;
    bool hasExponent = false;
};

Picture parse(const QString& s)
{
    Picture p;
    bool afterPoint = false;
    bool inExponent = false;
    auto literal = [&](const QString& text) {
        if (!p.pieces.empty() && p.pieces.back().kind == Piece::Literal)
            p.pieces.back().text += text;
        else
            p.pieces.push_back({Piece::Literal, text});
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('"')) {
            const qsizetype close = s.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? s.size() : close;
            literal(s.mid(i + 1, end - i - 1));
            i = end;
        } else if (c == QLatin1Char('\\') && i + 1 < s.size()) {
            literal(QString(s[++i]));
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            p.pieces.push_back({c == QLatin1Char('0') ? Piece::Zero : Piece::Hash, {}});
            if (inExponent) {
                ++p.exponentPlaces;
            } else if (afterPoint) {
                ++p.fractionPlaces;
                if (c == QLatin1Char('0'))
                    p.minimumFraction = p.fractionPlaces;
            } else {
                ++p.integerPlaces;
                if (c == QLatin1Char('0') && p.minimumInteger == 0)
                    p.minimumInteger = -p.integerPlaces; // mark where the first 0 stands
            }
        } else if (c == QLatin1Char('.') && !afterPoint && !inExponent) {
            afterPoint = true;
            p.pieces.push_back({Piece::Point, {}});
        } else if (c == QLatin1Char(',') && !afterPoint && !inExponent) {
            p.pieces.push_back({Piece::Comma, {}});
        } else if (c == QLatin1Char('%')) {
            ++p.percents;
            p.pieces.push_back({Piece::Percent, {}});
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && i + 1 < s.size() &&
                   (s[i + 1] == QLatin1Char('+') || s[i + 1] == QLatin1Char('-')) && !inExponent) {
            p.pieces.push_back({Piece::Exponent, s.mid(i, 2)});
            p.hasExponent = true;
            inExponent = true;
            ++i;
        } else {
            literal(QString(c));
        }
    }
    if (p.minimumInteger < 0)
        p.minimumInteger = p.integerPlaces + p.minimumInteger + 1;
    // Commas: between digit places they group thousands; right before the
    // point (or the last digit place) each one scales by a thousand.
    int placesSeen = 0;
    for (size_t k = 0; k < p.pieces.size(); ++k) {
        const Piece& piece = p.pieces[k];
        if (piece.kind == Piece::Zero || piece.kind == Piece::Hash) {
            if (placesSeen >= p.integerPlaces)
                break;
            ++placesSeen;
        } else if (piece.kind == Piece::Point || piece.kind == Piece::Exponent) {
            break;
        } else if (piece.kind == Piece::Comma && placesSeen > 0) {
            if (placesSeen < p.integerPlaces)
                p.grouping = true;
            else
                ++p.scaling;
        }
    }
    return p;
}

QString digitsOf(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString render(const Picture& p, double value, bool withMinus)
{
    double v = std::fabs(value) * std::pow(100.0, p.percents) / std::pow(1000.0, p.scaling);
    int exponent = 0;
    if (p.hasExponent && v != 0) {
        const int integerDigits = std::max(1, p.integerPlaces);
        exponent = int(std::floor(std::log10(v))) - (integerDigits - 1);
        double mantissa = roundHalfAway(v / std::pow(10.0, exponent), p.fractionPlaces);
        if (mantissa >= std::pow(10.0, integerDigits)) {
            ++exponent;
            mantissa = roundHalfAway(v / std::pow(10.0, exponent), p.fractionPlaces);
        }
        v = mantissa;
    } else {
        v = roundHalfAway(v, p.fractionPlaces);
    }
    const QString fixed = digitsOf(v, p.fractionPlaces);
    const qsizetype point = fixed.indexOf(QLatin1Char('.'));
    QString integer = point < 0 ? fixed : fixed.left(point);
    QString fraction = point < 0 ? QString() : fixed.mid(point + 1);
    if (integer == QLatin1String("0"))
        integer.clear();
    while (integer.size() < p.minimumInteger)
        integer.prepend(QLatin1Char('0'));
    while (fraction.size() > p.minimumFraction && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);

    QString out;
    if (withMinus)
        out += QLatin1Char('-');
    int integerPlace = 0;
    int fractionPlace = 0;
    bool afterPoint = false;
    bool inExponent = false;
    int exponentPlace = 0;
    const qsizetype extra = integer.size() - p.integerPlaces; // leading digits beyond the places
    auto emitDigit = [&](qsizetype index) {
        if (p.grouping && index > 0 && (integer.size() - index) % 3 == 0)
            out += QLatin1Char(',');
        out += integer[index];
    };
    for (const Piece& piece : p.pieces) {
        switch (piece.kind) {
        case Piece::Zero:
        case Piece::Hash:
            if (inExponent) {
                const QString e = QString::number(std::abs(exponent));
                const int width = p.exponentPlaces;
                if (++exponentPlace == width)
                    out += e.rightJustified(width, QLatin1Char('0'));
            } else if (afterPoint) {
                if (fractionPlace < fraction.size())
                    out += fraction[fractionPlace];
                ++fractionPlace;
            } else {
                const qsizetype index = extra + integerPlace;
                if (integerPlace == 0)
                    for (qsizetype k = 0; k < extra; ++k)
                        emitDigit(k);
                if (index >= 0 && index < integer.size())
                    emitDigit(index);
                ++integerPlace;
            }
            break;
        case Piece::Point:
            if (p.integerPlaces == 0) // ".00" still shows the whole part
                for (qsizetype k = 0; k < integer.size(); ++k)
                    emitDigit(k);
            afterPoint = true;
            out += QLatin1Char('.');
            break;
        case Piece::Comma:
            break;
        case Piece::Percent:
            out += QLatin1Char('%');
            break;
        case Piece::Exponent:
            inExponent = true;
            out += piece.text[0];
            if (exponent < 0)
                out += QLatin1Char('-');
            else if (piece.text[1] == QLatin1Char('+'))
                out += QLatin1Char('+');
            break;
        case Piece::Literal:
            out += piece.text;
            break;
        }
    }
    // A picture without digit places still shows the number.
    if (p.integerPlaces == 0 && !afterPoint && !p.hasExponent && !integer.isEmpty())
        out += integer;
    return out;
}

} // namespace

QStringList sections(const QString& picture)
{
    QStringList parts;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (c == QLatin1Char('\\') && i + 1 < picture.size()) {
            current += c;
            current += picture[++i];
            continue;
        }
        if (c == QLatin1Char(';') && !quoted) {
            parts << current;
            current.clear();
            continue;
        }
        current += c;
    }
    parts << current;
    return parts;
}

std::optional<QString> nullSection(const QString& picture)
{
    const QStringList parts = sections(picture);
    if (parts.size() < 4)
        return std::nullopt;
    QString text;
    for (const Piece& piece : parse(parts[3]).pieces)
        if (piece.kind == Piece::Literal)
            text += piece.text;
    return text;
}

QString number(double value, const QString& picture)
{
    const QString named = picture.trimmed();
    auto is = [&](const char* name) { return named.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
    if (named.isEmpty() || is("General Number"))
        return numberToText(value);
    if (is("Currency")) // the negative in parentheses, as the United States locale writes it
        return number(value, QStringLiteral("$#,##0.00;($#,##0.00)"));
    if (is("Fixed"))
        return number(value, QStringLiteral("0.00"));
    if (is("Standard"))
        return number(value, QStringLiteral("#,##0.00"));
    if (is("Percent"))
        return number(value, QStringLiteral("0.00%"));
    if (is("Scientific"))
        return number(value, QStringLiteral("0.00E+00"));
    if (is("Yes/No"))
        return value != 0 ? QStringLiteral("Yes") : QStringLiteral("No");
    if (is("True/False"))
        return value != 0 ? QStringLiteral("True") : QStringLiteral("False");
    if (is("On/Off"))
        return value != 0 ? QStringLiteral("On") : QStringLiteral("Off");

    const QStringList parts = sections(picture);
    // Positive (and zero with fewer than three sections); negative; zero.
    if (value < 0 && parts.size() > 1 && !parts[1].isEmpty())
        return render(parse(parts[1]), value, false);
    if (value == 0 && parts.size() > 2 && !parts[2].isEmpty())
        return render(parse(parts[2]), value, false);
    return render(parse(parts[0]), value, value < 0);
}

} // namespace qv::store::dialect::format
