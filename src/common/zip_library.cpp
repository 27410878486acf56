#include "common/zip_library.h"

#include "common/shared_library.h"

namespace qv {

namespace {

void resolve(ZipLibrary& library, void* handle, const char* soname)
{
#define QV_ZIP_RESOLVE(name)                                                                                 \
    library.name = reinterpret_cast<decltype(&::name)>(librarySymbol(handle, soname, #name));
    QV_ZIP_FUNCTIONS(QV_ZIP_RESOLVE)
#undef QV_ZIP_RESOLVE
}

} // namespace

const ZipLibrary& zipLibrary()
{
    return loadedLibrary<ZipLibrary, resolve>(QV_LIBZIP_SONAME);
}

} // namespace qv
