#include "common/zip_library.h"

#include "common/shared_library.h"

namespace qv {

namespace {

ZipLibrary load()
{
    void* handle = loadSharedLibrary(QV_LIBZIP_SONAME);
    ZipLibrary library;
#define QV_ZIP_RESOLVE(name)                                                                                 \
    library.name = reinterpret_cast<decltype(&::name)>(librarySymbol(handle, QV_LIBZIP_SONAME, #name));
    QV_ZIP_FUNCTIONS(QV_ZIP_RESOLVE)
#undef QV_ZIP_RESOLVE
    return library;
}

} // namespace

const ZipLibrary& zipLibrary()
{
    // A failed load raises and is tried again on the next call.
    static const ZipLibrary library = load();
    return library;
}

} // namespace qv
