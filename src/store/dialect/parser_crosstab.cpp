// TRANSFORM value SELECT ... GROUP BY ... PIVOT pivot [IN (values)]: the
// engine's crosstab query, read as its SELECT with the crosstab's parts.
#include "store/dialect/parser.h"

namespace qv::store::dialect {

SelectPtr Parser::transform(bool allowInto)
{
    expectWord(QLatin1String("TRANSFORM"));
    auto crosstab = std::make_unique<Crosstab>();
    crosstab->value = expression();
    if (!peek().isWord(QLatin1String("SELECT")))
        fail();
    SelectPtr s = select(allowInto);
    // A crosstab stands alone: no UNION, and its rows are those of a GROUP BY.
    if (s->unionNext || s->groupBy.empty())
        fail();
    expectWord(QLatin1String("PIVOT"));
    ExprPtr pivot = expression();
    // PIVOT p IN (a, b) lists the columns; it is not a comparison.
    if (pivot->kind == Expr::Kind::InList && !pivot->negated && !pivot->bracketed) {
        for (size_t k = 1; k < pivot->args.size(); ++k)
            crosstab->in.push_back(std::move(pivot->args[k]));
        crosstab->pivot = std::move(pivot->args[0]);
    } else if (pivot->kind == Expr::Kind::InSelect && !pivot->bracketed) {
        fail(pivot->begin);
    } else {
        crosstab->pivot = std::move(pivot);
    }
    // The SQL Query Wizard puts its Order By after the PIVOT written in From or Where.
    if (s->orderBy.empty() && takeWord(QLatin1String("ORDER"))) {
        expectWord(QLatin1String("BY"));
        s->orderBy = orderList();
    }
    s->crosstab = std::move(crosstab);
    measure(*s);
    return s;
}

} // namespace qv::store::dialect
