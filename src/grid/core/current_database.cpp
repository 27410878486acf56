#include "grid/core/current_database.h"

#include "common/error.h"
#include "store/session.h"

namespace qv::grid {

store::Database& currentDatabase()
{
    const store::DatabasePtr& database = session().CurrentDatabase;
    if (database == nullptr)
        throw objectNotSet(Advice::OpenAuction);
    return *database;
}

} // namespace qv::grid
