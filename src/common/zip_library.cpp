#include "common/zip_library.h"

#include "common/error.h"

#include <dlfcn.h>

namespace qv {

namespace {

ZipLibrary load()
{
    void* handle = dlopen(QV_LIBZIP_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw Error(err::LibraryNotLoaded,
                    QStringLiteral("Error in loading library: %1 cannot be loaded (%2).")
                        .arg(QStringLiteral(QV_LIBZIP_SONAME), QString::fromLocal8Bit(dlerror())));
    ZipLibrary library;
#define QV_ZIP_RESOLVE(name)                                                                                 \
    library.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));                                \
    if (!library.name)                                                                                       \
        throw Error(err::LibraryNotLoaded,                                                                   \
                    QStringLiteral("Error in loading library: %1 has no %2.")                                \
                        .arg(QStringLiteral(QV_LIBZIP_SONAME), QStringLiteral(#name)));
    QV_ZIP_FUNCTIONS(QV_ZIP_RESOLVE)
#undef QV_ZIP_RESOLVE
    // Kept loaded for the life of the process, as a linked library would be.
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
