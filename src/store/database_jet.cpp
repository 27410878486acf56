#include "store/database.h"

#include "common/error.h"

namespace qv::store {

std::shared_ptr<Database> Database::openJet(const QString& path)
{
    throw Error(err::NotADatabase, QStringLiteral("Unrecognized database format '%1'.").arg(path));
}

} // namespace qv::store
