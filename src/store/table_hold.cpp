#include "store/table_hold.h"

#include <QHash>

namespace qv::store {

TableHold::TableHold(std::shared_ptr<HoldRegistry> registry, QStringList tables)
    : registry_(registry), tables_(std::move(tables))
{
    registry->add(tables_);
}

TableHold::~TableHold()
{
    release();
}

TableHold::TableHold(TableHold&& other) noexcept
    : registry_(std::move(other.registry_)), tables_(std::move(other.tables_))
{
    other.tables_.clear();
    other.registry_.reset();
}

TableHold& TableHold::operator=(TableHold&& other) noexcept
{
    if (this != &other) {
        release();
        registry_ = std::move(other.registry_);
        tables_ = std::move(other.tables_);
        other.tables_.clear();
        other.registry_.reset();
    }
    return *this;
}

void TableHold::release()
{
    if (auto registry = registry_.lock())
        registry->remove(tables_);
    registry_.reset();
    tables_.clear();
}

void HoldRegistry::add(const QStringList& tables)
{
    for (const QString& t : tables)
        ++counts_[t.toLower()];
}

void HoldRegistry::remove(const QStringList& tables)
{
    for (const QString& t : tables) {
        auto it = counts_.find(t.toLower());
        if (it != counts_.end() && --it.value() <= 0)
            counts_.erase(it);
    }
}

bool HoldRegistry::isHeld(const QString& table) const
{
    return counts_.contains(table.toLower());
}

} // namespace qv::store
