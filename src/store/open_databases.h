#pragma once

#include <QHash>
#include <QString>

#include <memory>

namespace qv::store {

class Database;

// The databases this process has open, by file path, so that a statement
// that names another file (INSERT INTO ... IN "path") writes through the
// connection that already has it open, inside its transaction.
class OpenDatabases {
public:
    void add(const std::shared_ptr<Database>& database);
    void remove(const Database* database);
    std::shared_ptr<Database> find(const QString& path) const;

private:
    QHash<QString, std::weak_ptr<Database>> byPath_;
};

OpenDatabases& openDatabases();

} // namespace qv::store
