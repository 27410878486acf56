// How deep the parser lets a statement go, so that neither reading it nor
// writing it for SQLite runs out of stack: the engine's "Query is too complex".
#include "common/error.h"
#include "store/dialect/parser.h"

#include <algorithm>

namespace qv::store::dialect {

Parser::Level::Level(Parser& p) : p_(p)
{
    if (++p_.levels_ > maxDepth)
        p_.tooComplex();
}

void Parser::tooComplex() const
{
    throw Error(err::QueryTooComplex,
                QStringLiteral("Query is too complex: '%1' nests deeper than %2 levels.")
                    .arg(statement_.trimmed().left(200))
                    .arg(maxDepth));
}

ExprPtr Parser::joined(Expr::Kind kind, QString op, ExprPtr left, ExprPtr right) const
{
    auto e = std::make_unique<Expr>(kind, std::move(op));
    e->begin = left->begin;
    e->args.push_back(std::move(left));
    e->args.push_back(std::move(right));
    return measured(std::move(e));
}

ExprPtr Parser::measured(ExprPtr e) const
{
    int below = e->select ? e->select->depth : 0;
    for (const ExprPtr& a : e->args)
        below = std::max(below, a->depth);
    e->depth = below + 1;
    if (e->depth > maxDepth)
        tooComplex();
    return e;
}

namespace {

int depthOf(const ExprPtr& e)
{
    return e ? e->depth : 0;
}

int depthOf(const TableRef& ref)
{
    switch (ref.kind) {
    case TableRef::Kind::Table:
        return 0;
    case TableRef::Kind::Subquery:
        return ref.select->depth + 1;
    case TableRef::Kind::Join:
        return std::max({depthOf(*ref.left), depthOf(*ref.right), depthOf(ref.on)});
    }
    return 0;
}

} // namespace

void Parser::measure(Select& s) const
{
    int depth = std::max(depthOf(s.where), depthOf(s.having));
    for (const SelectItem& item : s.items)
        depth = std::max(depth, depthOf(item.expr));
    for (const TableRefPtr& ref : s.from)
        depth = std::max(depth, depthOf(*ref));
    for (const ExprPtr& g : s.groupBy)
        depth = std::max(depth, depthOf(g));
    for (const OrderItem& o : s.orderBy)
        depth = std::max(depth, depthOf(o.expr));
    if (s.unionNext)
        depth = std::max(depth, s.unionNext->depth);
    if (s.crosstab)
        depth = std::max({depth, depthOf(s.crosstab->value), depthOf(s.crosstab->pivot)});
    s.depth = depth;
    if (depth > maxDepth)
        tooComplex();
}

} // namespace qv::store::dialect
