#include "store/open_databases.h"

#include "store/database.h"

#include <QFileInfo>

namespace qv::store {

namespace {

QString key(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

void OpenDatabases::add(const std::shared_ptr<Database>& database)
{
    byPath_[key(database->path())] = database;
}

void OpenDatabases::remove(const Database* database)
{
    for (auto it = byPath_.begin(); it != byPath_.end();) {
        const auto held = it.value().lock();
        if (!held || held.get() == database)
            it = byPath_.erase(it);
        else
            ++it;
    }
}

std::shared_ptr<Database> OpenDatabases::find(const QString& path) const
{
    const auto found = byPath_.value(key(path)).lock();
    return found && found->isOpen() ? found : nullptr;
}

OpenDatabases& openDatabases()
{
    static OpenDatabases registry;
    return registry;
}

} // namespace qv::store
