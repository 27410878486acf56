#include "store/jet/mdb_library.h"

#include "common/shared_library.h"

namespace qv::store::jet {

namespace {

// g_free is found through libmdb's own dependency on GLib.
void resolve(MdbLibrary& library, void* handle, const char* soname)
{
#define QV_MDB_RESOLVE(name)                                                                                 \
    library.name = reinterpret_cast<decltype(&::name)>(librarySymbol(handle, soname, #name));
    QV_MDB_FUNCTIONS(QV_MDB_RESOLVE)
#undef QV_MDB_RESOLVE
}

} // namespace

const MdbLibrary& mdbLibrary()
{
    return loadedLibrary<MdbLibrary, resolve>(QV_LIBMDB_SONAME);
}

} // namespace qv::store::jet
