#pragma once

namespace qv::store {
class Database;
}

namespace qv::grid {

// The open auction's database: error 91 when no auction is open.
store::Database& currentDatabase();

} // namespace qv::grid
