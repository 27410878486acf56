#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

namespace qv::store {

class HoldRegistry;

// While a TableHold lives, the tables it names are in use: dropping one of
// them fails with error 3211. A window keeps the hold of the record set it
// shows and lets it go when it shows another or closes.
class TableHold {
public:
    TableHold() = default;
    TableHold(std::shared_ptr<HoldRegistry> registry, QStringList tables);
    ~TableHold();
    TableHold(TableHold&& other) noexcept;
    TableHold& operator=(TableHold&& other) noexcept;
    TableHold(const TableHold&) = delete;
    TableHold& operator=(const TableHold&) = delete;

    const QStringList& tables() const { return tables_; }
    void release();

private:
    std::weak_ptr<HoldRegistry> registry_;
    QStringList tables_;
};

// The tables held in one database, counted per name (case-insensitive).
class HoldRegistry {
public:
    void add(const QStringList& tables);
    void remove(const QStringList& tables);
    bool isHeld(const QString& table) const;

private:
    QHash<QString, int> counts_;
};

} // namespace qv::store
