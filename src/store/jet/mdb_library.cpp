#include "store/jet/mdb_library.h"

#include "common/shared_library.h"

namespace qv::store::jet {

namespace {

MdbLibrary load()
{
    void* handle = loadSharedLibrary(QV_LIBMDB_SONAME);
    MdbLibrary library;
    // g_free is found through libmdb's own dependency on GLib.
#define QV_MDB_RESOLVE(name)                                                                                 \
    library.name = reinterpret_cast<decltype(&::name)>(librarySymbol(handle, QV_LIBMDB_SONAME, #name));
    QV_MDB_FUNCTIONS(QV_MDB_RESOLVE)
#undef QV_MDB_RESOLVE
    return library;
}

} // namespace

const MdbLibrary& mdbLibrary()
{
    // A failed load raises and is tried again on the next call.
    static const MdbLibrary library = load();
    return library;
}

} // namespace qv::store::jet
